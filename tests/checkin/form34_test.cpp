// The totals report from the single old totals file: the report's lines, which records
// print, and the window on a data folder that holds the per-day totals folder beside it.
#include "support/app_fixture.h"

#include "checkin/form34.h"
#include "platform/text.h"
#include "printing/totals_report.h"
#include "records/day_totals.h"
#include "records/filenames.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vantreth {
namespace {

using testing::AppFixture;
using testing::TempFolder;

records::DayTotals Totals(const std::string& date, float rent) {
    records::DayTotals totals;
    totals.DateText = platform::Fixed(date, 10);
    totals.RoomRent = rent;
    totals.GrossRent = 119.7f;
    totals.Tax = 5.2f;
    totals.Cash = -12.5f;
    totals.PetOther = 10;
    totals.PhoneCharges = 0.75f;
    totals.VisaMaster = 45;
    totals.AmericanExpress = 0;
    totals.Discover = 1234.56f;
    totals.Diners = 3;
    return totals;
}

// The report as printed for Totals(date, rent) on the day `today`.
std::string ExpectedReport(const std::string& today, const std::string& rent) {
    const std::string indent(26, ' ');
    // clang-format off
    return indent + "Totals Report for " + today + "\n" + std::string(72, '-') + "\n\n\n" +
           indent + "Room Rent........" + rent + " \n\n" +
           indent + "Gross Rent....... 119.7 \n\n" +
           indent + "Tax.............. 5.2 \n\n" +
           indent + "Cash.............-12.5 \n\n" +
           indent + "Pet or Other..... 10 \n\n" +
           indent + "Phone............ .75 \n\n" +
           indent + "Visa/Master...... 45 \n\n" +
           indent + "American Ex...... 0 \n\n" +
           indent + "Discover......... 1234.56 \n\n" +
           indent + "Diners........... 3 ";
    // clang-format on
}

std::string FileOf(const std::vector<records::DayTotals>& records) {
    std::string bytes;
    for (const records::DayTotals& totals : records)
        bytes += totals.Encode();
    return bytes;
}

// A bare data folder for the old totals file.
class OldTotalsFileTest : public ::testing::Test {
private:
    TempFolder temp;

protected:
    platform::DataFolder folder{temp.path(), nullptr};
    platform::CapturePrinter device;
    platform::Printer printer{device};

    void WriteFile(const std::string& bytes) {
        std::ofstream out(temp.path() / "oldtotals", std::ios::binary | std::ios::trunc);
        out << bytes;
    }
};

TEST_F(OldTotalsFileTest, PrintsOneReportForEachRecordOfToday) {
    WriteFile(FileOf({Totals("12/5/26", 1), Totals("12/6/26", 100.5f), Totals("12/06/26", 2),
                      Totals("12/6/2026", 3), Totals("12/6/26", 80), Totals(" 12/6/26", 4)}));
    EXPECT_EQ(printing::PrintOldTotalsReports(printer, folder, "12/6/26"), 2);
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), ExpectedReport("12/6/26", " 100.5"));
    EXPECT_EQ(jobs[1].Text(), ExpectedReport("12/6/26", " 80"));
    EXPECT_FALSE(printer.DocumentOpen());
}

TEST_F(OldTotalsFileTest, ADayWithoutARecordPrintsNothing) {
    WriteFile(FileOf({Totals("12/5/26", 1), Totals("12/7/26", 2)}));
    EXPECT_EQ(printing::PrintOldTotalsReports(printer, folder, "12/6/26"), 0);
    EXPECT_TRUE(device.TakeJobs().empty());
}

TEST_F(OldTotalsFileTest, ACutOffLastRecordIsNotRead) {
    WriteFile(FileOf({Totals("12/6/26", 7)}) + Totals("12/6/26", 8).Encode().substr(0, 40));
    ASSERT_EQ(printing::ReadOldTotalsFile(folder).size(), 1u);
    EXPECT_EQ(printing::PrintOldTotalsReports(printer, folder, "12/6/26"), 1);
}

TEST_F(OldTotalsFileTest, AMissingFileGivesNoRecordsAndIsNotCreated) {
    EXPECT_TRUE(printing::ReadOldTotalsFile(folder).empty());
    EXPECT_FALSE(std::filesystem::exists(folder.root() / "oldtotals"));
}

TEST_F(OldTotalsFileTest, AnOpenDocumentIsEndedBeforeTheReport) {
    WriteFile(FileOf({Totals("12/6/26", 7)}));
    printer.Print("LEFT OVER");
    printing::PrintOldTotalsReports(printer, folder, "12/6/26");
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), "LEFT OVER");
    EXPECT_EQ(jobs[1].Text(), ExpectedReport("12/6/26", " 7"));
}

class Form34Test : public AppFixture {
protected:
    Form34Test() { SetNow(12, 6, 2026, 9, 0, 0); }

    void Open() {
        app().Dispatch([&] { app().Load(app().Get<Form34>()); });
    }
};

// The per-day totals folder takes the name "totals", so the old file lies beside it.
TEST_F(Form34Test, PrintsFromTheOldFileBesideTheTotalsFolder) {
    records::AddToDayTotals(app().data(), "12/6/26", records::DayTotalsField::Cash,
                            platform::Decimal::Of(25));
    const std::string dayTotals = ReadBytes("totals/totals12626");
    ASSERT_TRUE(std::filesystem::is_directory(DataFile("totals")));
    WriteBytes("oldtotals", FileOf({Totals("12/5/26", 1), Totals("12/6/26", 99.99f)}));

    Open();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].Text(), ExpectedReport("12/6/26", " 99.99"));
    EXPECT_FALSE(IsLoaded("Form34"));
    EXPECT_FALSE(Form<Form34>().Visible());
    EXPECT_EQ(ReadBytes("totals/totals12626"), dayTotals) << "the day's own totals are not the report's";

    // Opened again on another day, it prints that day's record.
    SetNow(12, 5, 2026, 23, 0, 0);
    Open();
    jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].Text(), ExpectedReport("12/5/26", " 1"));
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
}

TEST_F(Form34Test, WithoutTheFileNothingIsPrintedOrMade) {
    Open();
    EXPECT_TRUE(printer().TakeJobs().empty());
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
    EXPECT_FALSE(IsLoaded("Form34"));
    EXPECT_FALSE(Exists("oldtotals"));
    EXPECT_TRUE(std::filesystem::is_directory(DataFile("totals")));
}

} // namespace
} // namespace vantreth
