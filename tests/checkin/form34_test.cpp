// The totals report from the single old totals file: the report's lines, which records
// print, and the window on a data folder where the file cannot exist.
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

// A data folder in which a file named "totals" can lie (no totals/ folder).
class OldTotalsFileTest : public ::testing::Test {
private:
    TempFolder temp;

protected:
    platform::DataFolder folder{temp.path()};
    platform::CapturePrinter device;
    platform::Printer printer{device};

    void WriteFile(const std::string& bytes) {
        std::ofstream out(temp.path() / "totals", std::ios::binary | std::ios::trunc);
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
    EXPECT_FALSE(std::filesystem::exists(folder.root() / "totals"));
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

// The name "totals" is the per-day totals folder's, so there never is such a file.
TEST_F(Form34Test, TheTotalsFolderInPlaceOfTheFileMeansNothingToPrint) {
    records::AddToDayTotals(app().data(), "12/6/26", records::DayTotalsField::Cash, 25);
    const std::string dayTotals = ReadBytes("totals/totals12626");

    Open();

    EXPECT_TRUE(printer().TakeJobs().empty());
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
    EXPECT_FALSE(IsLoaded("Form34"));
    EXPECT_FALSE(Form<Form34>().Visible());
    EXPECT_TRUE(std::filesystem::is_directory(DataFile("totals")));
    EXPECT_EQ(ReadBytes("totals/totals12626"), dayTotals);
}

TEST_F(Form34Test, WithoutTheTotalsFolderNoFileIsMadeInItsPlace) {
    std::filesystem::remove_all(DataFile("totals"));
    Open();
    EXPECT_TRUE(printer().TakeJobs().empty());
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
    EXPECT_FALSE(Exists("totals"));
    // So the next start-up can make the folder again.
    EXPECT_NO_THROW(app().data().EnsureLayout());
}

TEST_F(Form34Test, PrintsTodaysReportEachTimeItIsOpened) {
    std::filesystem::remove_all(DataFile("totals"));
    WriteBytes("totals", FileOf({Totals("12/5/26", 1), Totals("12/6/26", 99.99f)}));

    Open();
    std::vector<platform::PrintJob> jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].Text(), ExpectedReport("12/6/26", " 99.99"));
    EXPECT_FALSE(IsLoaded("Form34"));

    SetNow(12, 5, 2026, 23, 0, 0);
    Open();
    jobs = printer().TakeJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].Text(), ExpectedReport("12/5/26", " 1"));
    EXPECT_TRUE(dialogs().shown().empty()) << LastBox().prompt;
}

} // namespace
} // namespace vantreth
