// The call accounting report: the time and extension texts, the columns of a call line,
// and the whole printout of a day with and without calls.
#include "printing/call_reports.h"

#include "records/filenames.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace printing {
namespace {

using records::CallRecord;

// A 58-character record; the columns the system never reads hold lower-case letters, so
// a field cut one column off shows them.
CallRecord Call(const std::string& date, const std::string& extension, const std::string& time,
                const std::string& amount, const std::string& number) {
    CallRecord call{"abcdefghij" + date + "k" + extension + "lm" + time + "nopqrst" + amount + "u" + number +
                    "vwxyz"};
    EXPECT_EQ(call.text.size(), CallRecord::kLength);
    return call;
}

CallRecord CallAt(const std::string& time) {
    return Call("12/06", " 101", time, "  1.25", "555-123-4567");
}

TEST(CallTimeTest, HourGoesToTheTwelveHourClockWithItsSuffix) {
    struct Case {
        std::string time, text, suffix;
    };
    const Case cases[] = {
        {"13:05", "01:05", "PM"}, {"12:30", "12:30", "PM"}, {"00:15", "00:15", "AM"},
        {"24:00", "12:00", "AM"}, {"23:59", "11:59", "PM"}, {"11:59", "11:59", "AM"},
        {"09:07", "09:07", "AM"}, {"18:40", "06:40", "PM"}, {" 9:07", " 9:07", "AM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CallTimeText(CallAt(c.time)), c.text) << "time \"" << c.time << "\"";
        EXPECT_EQ(CallTimeSuffix(CallAt(c.time)), c.suffix) << "time \"" << c.time << "\"";
    }
}

TEST(CallExtensionTest, NamesTheFrontDeskAndTheCordlessElseShowsTheFieldAsReceived) {
    struct Case {
        std::string field, text;
    };
    const Case cases[] = {
        {"1000", "FRONT DESK"}, {"400 ", "CORDLESS"}, {" 400", " 400"},
        {"101 ", "101 "},       {" 101", " 101"},     {"1001", "1001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CallExtensionText(Call("12/06", c.field, "10:00", "   .50", "555-123-4567")), c.text)
            << "extension \"" << c.field << "\"";
}

TEST(CallLineTest, ReportAndListPlaceTheSameFields) {
    const CallRecord desk = Call("12/06", "1000", "15:42", "  2.10", "18005551212 ");
    const CallRecord room = Call("12/06", " 12 ", "08:03", " 12.75", "555-123-4567");

    const platform::PrintItems deskLine = CallReportLine(desk);
    ASSERT_EQ(deskLine.lines().size(), 1u);
    EXPECT_EQ(deskLine.lines()[0], "12/06    FRONT DESK         03:42 PM        2.10          18005551212 ");
    EXPECT_EQ(CallReportLine(room).lines()[0],
              "12/06     12                08:03 AM       12.75          555-123-4567");

    EXPECT_EQ(CallListLine(desk), "12/06    FRONT DESK    03:42    PM      2.10    18005551212 ");
    EXPECT_EQ(CallListLine(room), "12/06     12     08:03    AM     12.75    555-123-4567");
}

class CallReportTest : public ::testing::Test {
protected:
    std::vector<std::string> Print(const std::string& date) {
        PrintCallReport(printer, folder, date);
        std::vector<platform::PrintJob> jobs = device.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        std::vector<std::string> lines;
        if (!jobs.empty())
            for (const platform::PrintedLine& line : jobs[0].pages.at(0).lines) {
                lines.push_back(line.text);
                EXPECT_EQ(line.fontSize, 10) << line.text;
            }
        return lines;
    }

    vantreth::testing::TempDataFolder m_data;
    const platform::DataFolder& folder = m_data.folder();
    platform::CapturePrinter device;
    platform::Printer printer{device};
};

const std::string kRule(78, '=');
const std::string kHeader = "DATE     EXTENSION          TIME          AMOUNT          NUMBER";

TEST_F(CallReportTest, PrintsEveryLoggedCallInFileOrder) {
    records::AppendPhoneLogLine(folder, "12/6/26", Call("12/06", "1000", "15:42", "  2.10", "18005551212 "));
    records::AppendPhoneLogLine(folder, "12/6/26", Call("12/06", "400 ", "00:15", "   .00", "911         "));
    records::AppendPhoneLogLine(folder, "12/7/26", Call("12/07", " 101", "10:00", "  9.99", "other day   "));
    const std::vector<std::string> expected = {
        "                       Call Accounting Report for 12/6/26",
        "",
        "",
        kHeader,
        kRule,
        "12/06    FRONT DESK         03:42 PM        2.10          18005551212 ",
        "12/06    CORDLESS           00:15 AM         .00          911         ",
    };
    EXPECT_EQ(Print("12/6/26"), expected);
}

TEST_F(CallReportTest, DayWithoutCallsSaysSo) {
    const std::vector<std::string> expected = {
        "                       Call Accounting Report for 12/6/26",
        "",
        "",
        kHeader,
        kRule,
        "",
        "",
        "                               No Calls Today",
    };
    EXPECT_EQ(Print("12/6/26"), expected) << "no log file";
    std::ofstream(records::DayFilePath(folder, records::DayFile::PhoneLog, "12/6/26").path()).close();
    EXPECT_EQ(Print("12/6/26"), expected) << "an empty log file";
}

TEST_F(CallReportTest, EndsADocumentLeftOpenBeforeItsOwn) {
    printer.Print("left open");
    PrintCallReport(printer, folder, "12/6/26");
    const std::vector<platform::PrintJob> jobs = device.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), "left open");
    EXPECT_FALSE(printer.DocumentOpen());
}

} // namespace
} // namespace printing
