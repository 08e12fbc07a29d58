// The rooms-rented-per-shift windows: each prints its own shift when loaded, never shows,
// and unloads itself, so every load prints again and none keeps the program alive.
#include "support/app_fixture.h"
#include "support/failing_printer.h"

#include "audit/form41.h"
#include "audit/form42.h"
#include "audit/form43.h"
#include "records/stay_ledger.h"

#include <string>

namespace vantreth {
namespace {

class ShiftRentalsTest : public testing::AppFixture {
protected:
    ShiftRentalsTest() { SetNow(12, 6, 2026, 1, 5, 0); }
    void Rent(const std::string& shift, const std::string& room) {
        records::AppendShiftRentalLine(app().data(), shift, "12/6/26",
                                       records::ShiftRentalLine{room, shift, "JD", {15, 45, 12}});
    }
    std::string LoadAndPrint(const char* window) {
        app().Dispatch([&] { app().Load(window); });
        std::vector<platform::PrintJob> jobs = printer().TakeJobs();
        EXPECT_EQ(jobs.size(), 1u) << window;
        return jobs.empty() ? std::string() : jobs[0].Text();
    }
};

TEST_F(ShiftRentalsTest, EachWindowPrintsItsOwnShift) {
    Rent("A", "101");
    Rent("C", "305");
    struct Case {
        const char* window;
        std::string label;
        std::string body;
    } cases[] = {
        {"Form41", "ROOMS RENTED ON A  SHIFT ROUTINE", "101    A       JD      3:45:12 PM"},
        {"Form42", "ROOMS RENTED ON B  SHIFT ROUTINE",
         "\n\n                        No Rooms Rented On B Shift"},
        {"Form43", "ROOMS RENTED ON C SHIFT ROUTINE", "305    C       JD      3:45:12 PM"},
    };
    for (const Case& c : cases) {
        const std::string shift = c.label.substr(16, 1);
        const std::string header = "                    Rooms Rented On " + shift +
                                   " Shift for 12/6/26\n\n\n" + std::string(75, '-') +
                                   "\nROOM   SHIFT   CLERK   TIME RENTED\n" + std::string(75, '-') + "\n";
        EXPECT_EQ(LoadAndPrint(c.window), header + c.body) << c.window;
        auto& label = static_cast<platform::Label&>(*app().Get(c.window).Find("Label1"));
        EXPECT_EQ(label.Caption(), c.label) << c.window;
        EXPECT_EQ(app().Get(c.window).Caption(), "") << c.window;
    }
}

TEST_F(ShiftRentalsTest, WindowIsNeverShownAndUnloadsItselfSoEveryLoadPrints) {
    EXPECT_NE(LoadAndPrint("Form42"), "");
    EXPECT_FALSE(IsLoaded("Form42"));
    EXPECT_FALSE(Form<Form42>().Visible());
    Rent("B", "210");
    EXPECT_NE(LoadAndPrint("Form42").find("210    B"), std::string::npos) << "a second run prints anew";
    EXPECT_TRUE(app().LoadedForms().empty());
}

TEST_F(ShiftRentalsTest, WindowUnloadsAlsoWhenThePrinterFails) {
    testing::FailingPrinter failing;
    app().printer().SetDevice(failing);
    dialogs().Answer(platform::vbOK);
    app().Dispatch([&] { app().Load("Form43"); });
    EXPECT_EQ(LastBox().title, "Printer Error");
    EXPECT_FALSE(IsLoaded("Form43"));
}

} // namespace
} // namespace vantreth
