// The rooms-rented-per-shift printout and the tolerant reading of a shift's rentals file.
#include "printing/shift_rentals_report.h"

#include "records/filenames.h"
#include "records/stay_ledger.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

const std::string kRule(75, '-');

class ShiftRentalsReportTest : public ::testing::Test {
protected:
    void Rent(const std::string& shift, const std::string& room, const std::string& clerk,
              platform::TimeOfDay time) {
        records::AppendShiftRentalLine(folder, shift, "12/6/26",
                                       records::ShiftRentalLine{room, shift, clerk, time});
    }
    platform::FilePath File(const std::string& shift) {
        return records::ShiftFilePath(folder, records::ShiftFile::ShiftRentals, shift, "12/6/26");
    }
    void WriteFile(const std::string& shift, const std::string& text) {
        platform::ReplaceFileContent(File(shift), text);
    }

    std::vector<std::string> Print(const std::string& shift) {
        PrintShiftRentals(printer, folder, shift, "12/6/26");
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        EXPECT_FALSE(printer.DocumentOpen());
        std::vector<std::string> lines;
        if (jobs.size() == 1)
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines)
                lines.push_back(line.text);
        return lines;
    }

    static std::vector<std::string> EmptyReport(const std::string& shift) {
        return {"                    Rooms Rented On " + shift + " Shift for 12/6/26",
                "",
                "",
                kRule,
                "ROOM   SHIFT   CLERK   TIME RENTED",
                kRule,
                "",
                "",
                "                        No Rooms Rented On " + shift + " Shift"};
    }

    vantreth::testing::TempDataFolder m_data;
    const platform::DataFolder& folder = m_data.folder();
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

TEST_F(ShiftRentalsReportTest, MissingOrEmptyFilePrintsTheNoRoomsText) {
    EXPECT_EQ(Print("B"), EmptyReport("B")) << "no file";
    WriteFile("C", "");
    EXPECT_EQ(Print("C"), EmptyReport("C")) << "an empty file";
}

TEST_F(ShiftRentalsReportTest, RentalsPrintInFileOrderAtTheirColumns) {
    Rent("A", "204", "JD", {7, 5, 0});
    Rent("A", "12 ", "JD", {9, 30, 15});
    Rent("A", "101", "MK", {14, 45, 12});
    // Another shift's rentals stay out of this printout.
    Rent("B", "300", "ZZ", {16, 0, 0});

    std::vector<std::string> expected = EmptyReport("A");
    expected.resize(6);
    expected.push_back("204    A       JD      7:05:00 AM");
    expected.push_back("12     A       JD      9:30:15 AM");
    expected.push_back("101    A       MK      2:45:12 PM");
    EXPECT_EQ(Print("A"), expected);
}

TEST_F(ShiftRentalsReportTest, LineCutShortIsSkippedKeepingTheLinesAroundIt) {
    Rent("B", "204", "JD", {7, 5, 0});
    platform::ReplaceFileContent(File("B"), platform::ReadFile(File("B")).value_or("") + "\"305\",\"B\"\r\n");
    Rent("B", "306", "JD", {8, 0, 0});
    const ShiftRentalsRead read = ReadShiftRentalsAsFarAsReadable(folder, "B", "12/6/26");
    EXPECT_TRUE(read.opened);
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0], (RentalItems{"204", "B", "JD", "7:05:00 AM"}));
    EXPECT_EQ(read.lines[1], (RentalItems{"306", "B", "JD", "8:00:00 AM"}));

    std::vector<std::string> expected = EmptyReport("B");
    expected.resize(6);
    expected.push_back("204    B       JD      7:05:00 AM");
    expected.push_back("306    B       JD      8:00:00 AM");
    EXPECT_EQ(Print("B"), expected) << "no empty-report text once a line was read";
}

TEST_F(ShiftRentalsReportTest, UnreadableFirstLinePrintsTheNoRoomsText) {
    WriteFile("A", "\"101\"\r\n");
    EXPECT_EQ(Print("A"), EmptyReport("A"));
}

TEST_F(ShiftRentalsReportTest, ReadingTellsAMissingFileFromAnEmptyOne) {
    EXPECT_FALSE(ReadShiftRentalsAsFarAsReadable(folder, "C", "12/6/26").opened);
    WriteFile("C", "");
    const ShiftRentalsRead read = ReadShiftRentalsAsFarAsReadable(folder, "C", "12/6/26");
    EXPECT_TRUE(read.opened);
    EXPECT_TRUE(read.lines.empty());
}

} // namespace
} // namespace printing
