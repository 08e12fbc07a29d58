// The Guest Listing Report: the guest line's columns, which guests are listed and in what
// order, and the whole document in both of its openings.
#include "printing/guest_listing_report.h"

#include "platform/printer.h"
#include "platform/text.h"
#include "records/filenames.h"

#include "support/builders.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace printing {
namespace {

using platform::Fixed;

records::GuestRecord Guest(const std::string& room, const std::string& last, const std::string& first) {
    return vantreth::testing::Guest(room, last, first,
                                    {.RegCard = "4711",
                                     .Clerk = "JD",
                                     .PayCode = "L",
                                     .ArrivalDate = "12/6/26",
                                     .DepartureDate = "12/8/26",
                                     .Rate = 45.5f,
                                     .FolioNumber = "12"});
}

std::vector<std::string> Lines(const platform::PrintJob& job) {
    std::vector<std::string> lines;
    for (const platform::PrintedPage& page : job.pages)
        for (const platform::PrintedLine& line : page.lines)
            lines.push_back(line.text);
    return lines;
}

const std::string kTitle = "                       Guest Listing Report for 12/6/26";
const std::string kHeader = "ROOM LAST           CLERK  REGCARD  FOLIO  RATE    PAY  DEPART";
const std::string kRule(78, '-');

TEST(GuestListingLineTest, FieldsSitAtTheirColumnsAsStored) {
    struct Case {
        std::string what;
        records::GuestRecord guest;
        std::string line;
    };
    std::vector<Case> cases;
    cases.push_back({"a plain guest", Guest("101", "SMITH", "JOHN"),
                     "101  SMITH          JD     4711     12     45.5    L    12/8/26   "});
    records::GuestRecord longName = Guest("101", "ABCDEFGHIJKLMNOPQ", "X");
    cases.push_back({"a 15-character last name fills up to the clerk's column", longName,
                     "101  ABCDEFGHIJKLMNOJD     4711     12     45.5    L    12/8/26   "});
    cases.push_back({"a two-character room keeps its blank", Guest("12", "SMITH", "JOHN"),
                     "12   SMITH          JD     4711     12     45.5    L    12/8/26   "});
    records::GuestRecord negative = Guest("101", "SMITH", "JOHN");
    negative.Rate = -5;
    cases.push_back({"a negative rate has no blank before it", negative,
                     "101  SMITH          JD     4711     12    -5       L    12/8/26   "});
    records::GuestRecord zero = Guest("101", "SMITH", "JOHN");
    zero.Rate = 0;
    cases.push_back(
        {"a zero rate", zero, "101  SMITH          JD     4711     12     0       L    12/8/26   "});
    records::GuestRecord blank = Guest("101", "SMITH", "JOHN");
    blank.Clerk = "  ";
    blank.RegCard = std::string(6, ' ');
    blank.FolioNumber = std::string(5, ' ');
    blank.PayCode = " ";
    cases.push_back({"blank fields still take their width", blank,
                     "101  SMITH" + std::string(33, ' ') + "45.5" + std::string(9, ' ') + "12/8/26   "});
    for (const Case& c : cases) {
        const platform::PrintItems items = GuestListingLine(c.guest);
        const std::vector<std::string>& lines = items.lines();
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0], c.line) << c.what;
    }
    // A rate past 100,000 shows every cent; wider than its column, it pushes the rest on.
    records::GuestRecord large = Guest("101", "SMITH", "JOHN");
    large.Rate = 100000.01f;
    EXPECT_EQ(GuestListingLine(large).lines(),
              (std::vector<std::string>{"101  SMITH          JD     4711     12     100000.01",
                                        std::string(51, ' ') + "L    12/8/26   "}));
}

TEST(GuestListingLineTest, OnlyGuestsWithBothNamesAreListed) {
    struct Case {
        std::string last, first;
        bool listed;
    };
    const Case cases[] = {
        {"SMITH", "JOHN", true}, {"SMITH", "", false}, {"", "JOHN", false}, {"", "", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsListedGuest(Guest("101", c.last, c.first)), c.listed)
            << "last \"" << c.last << "\" first \"" << c.first << "\"";
}

TEST(GuestListingReportTest, ListsGuestsInFileOrderBetweenRules) {
    vantreth::testing::TempDataFolder data;
    records::AddGuest(data.folder(), records::kGuestFile, Guest("105", "SMITH", "MARY"));
    records::AddGuest(data.folder(), records::kGuestFile, Guest("301", "GONE", "GUEST"));
    records::AddGuest(data.folder(), records::kGuestFile, Guest("210", "ADAMS", "JOHN"));
    records::AddGuest(data.folder(), records::kGuestFile, Guest("220", "NOFIRST", ""));
    records::GuestRecord gone = records::ReadGuest(data.folder(), records::kGuestFile, 2);
    gone.ClearStay();
    records::WriteGuest(data.folder(), records::kGuestFile, 2, gone);

    platform::CapturePrinter device;
    platform::Printer printer(device);
    PrintGuestListingReport(printer, data.folder(), "12/6/26", GuestListingStart::BlankLine);

    ASSERT_EQ(device.jobs().size(), 1u);
    const std::vector<std::string> expected = {
        "",
        kTitle,
        "",
        "",
        kHeader,
        kRule,
        "105  SMITH          JD     4711     12     45.5    L    12/8/26   ",
        kRule,
        "210  ADAMS          JD     4711     12     45.5    L    12/8/26   ",
        kRule,
    };
    EXPECT_EQ(Lines(device.jobs()[0]), expected);
    EXPECT_EQ(device.jobs()[0].pages[0].lines[1].fontSize, 10);
}

TEST(GuestListingReportTest, TheNightAuditCopyBeginsWithTheTitle) {
    vantreth::testing::TempDataFolder data;
    records::AddGuest(data.folder(), records::kGuestFile, Guest("105", "SMITH", "MARY"));
    platform::CapturePrinter device;
    platform::Printer printer(device);
    PrintGuestListingReport(printer, data.folder(), "12/6/26", GuestListingStart::Title);
    ASSERT_EQ(device.jobs().size(), 1u);
    const std::vector<std::string> lines = Lines(device.jobs()[0]);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], kTitle);
    EXPECT_EQ(lines[3], kHeader);
    EXPECT_EQ(lines[5], "105  SMITH          JD     4711     12     45.5    L    12/8/26   ");
}

TEST(GuestListingReportTest, EmptyGuestFilePrintsTitleHeadingAndFirstRuleOnly) {
    vantreth::testing::TempDataFolder data;
    platform::CapturePrinter device;
    platform::Printer printer(device);
    PrintGuestListingReport(printer, data.folder(), "12/6/26", GuestListingStart::BlankLine);
    ASSERT_EQ(device.jobs().size(), 1u);
    EXPECT_EQ(Lines(device.jobs()[0]), (std::vector<std::string>{"", kTitle, "", "", kHeader, kRule}));
}

TEST(GuestListingReportTest, EndsADocumentLeftOpenBeforeItsOwn) {
    platform::CapturePrinter device;
    platform::Printer printer(device);
    printer.Print("left over");
    PrintGuestListingReport(printer, std::vector<records::GuestRecord>{}, "12/6/26",
                            GuestListingStart::Title);
    ASSERT_EQ(device.jobs().size(), 2u);
    EXPECT_EQ(Lines(device.jobs()[0]), std::vector<std::string>{"left over"});
    EXPECT_EQ(Lines(device.jobs()[1]).front(), kTitle);
    EXPECT_FALSE(printer.DocumentOpen());
}

} // namespace
} // namespace printing
