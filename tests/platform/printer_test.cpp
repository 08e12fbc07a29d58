// The printer's line building (columns, values), pages, vertical position and documents,
// and the box about reports not printed.
#include "platform/printer.h"
#include "support/failing_printer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace platform {
namespace {

TEST(PrintItemsTest, TabPlacesNextItemAtColumnOrOnNextLine) {
    struct Case {
        std::string before;
        int column;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 1, {"X"}},
        {"", 5, {"    X"}},
        {"ab", 5, {"ab  X"}},             // before the column: padded
        {"abcd", 5, {"abcdX"}},           // exactly at the column: nothing added
        {"abcde", 5, {"abcde", "    X"}}, // one past: next line at the column
        {"abcdefgh", 3, {"abcdefgh", "  X"}},
        {"ab", 0, {"ab", "X"}}, // column 0 counts as column 1
    };
    for (const Case& c : cases) {
        PrintItems items;
        items.Text(c.before).Tab(c.column).Text("X");
        EXPECT_EQ(items.lines(), c.lines) << "before \"" << c.before << "\", Tab(" << c.column << ")";
    }
}

TEST(PrintItemsTest, ItemsWithoutTabFollowDirectly) {
    PrintItems items;
    items.Text("Room").Text("101").Tab(10).Text("A").Text("B");
    EXPECT_EQ(items.lines(), std::vector<std::string>{"Room101  AB"});
}

TEST(PrintItemsTest, TabAfterWrapCountsFromTheNewLine) {
    PrintItems items;
    items.Text("123456").Tab(3).Text("x").Tab(8).Text("y").Tab(2).Text("z");
    EXPECT_EQ(items.lines(), (std::vector<std::string>{"123456", "  x    y", " z"}));
}

TEST(PrintItemsTest, ValueIsStrFormFollowedByOneBlank) {
    struct Case {
        const char* name;
        std::function<void(PrintItems&)> add;
        std::string expected;
    };
    const Case cases[] = {
        {"Value(5.5f)", [](PrintItems& p) { p.Value(5.5f); }, " 5.5 "},
        {"Value(-2.25f)", [](PrintItems& p) { p.Value(-2.25f); }, "-2.25 "},
        {"Value(0.0f)", [](PrintItems& p) { p.Value(0.0f); }, " 0 "},
        {"Value(166.65f)", [](PrintItems& p) { p.Value(166.65f); }, " 166.65 "},
        {"Value(12.5)", [](PrintItems& p) { p.Value(12.5); }, " 12.5 "},
        {"Value(-3.0)", [](PrintItems& p) { p.Value(-3.0); }, "-3 "},
        {"Value(7)", [](PrintItems& p) { p.Value(7); }, " 7 "},
        {"Value(-7)", [](PrintItems& p) { p.Value(-7); }, "-7 "},
        {"Value(0)", [](PrintItems& p) { p.Value(0); }, " 0 "},
    };
    for (const Case& c : cases) {
        PrintItems items;
        items.Text("|");
        c.add(items);
        items.Text("|");
        EXPECT_EQ(items.lines(), (std::vector<std::string>{"|" + c.expected + "|"})) << c.name;
    }
}

TEST(PrintItemsTest, ValueCountsTowardsTheColumn) {
    PrintItems items;
    items.Value(5.5f).Tab(5).Text("x");
    EXPECT_EQ(items.lines(), (std::vector<std::string>{" 5.5 ", "    x"}));
}

class PrinterTest : public ::testing::Test {
protected:
    CapturePrinter capture;
    Printer printer{capture};

    PrintJob OnlyJob() {
        std::vector<PrintJob> jobs = capture.TakeJobs();
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? PrintJob{} : jobs.front();
    }
};

TEST_F(PrinterTest, DocumentOpensOnFirstPrintAndIsSubmittedByEndDoc) {
    EXPECT_FALSE(printer.DocumentOpen());
    printer.Print("Night Audit");
    EXPECT_TRUE(printer.DocumentOpen());
    EXPECT_TRUE(capture.jobs().empty());
    printer.Print();
    printer.Print(PrintItems().Text("A").Tab(4).Value(2));
    printer.EndDoc();
    EXPECT_FALSE(printer.DocumentOpen());
    EXPECT_EQ(OnlyJob().Text(), "Night Audit\n\nA   2 ");
}

TEST_F(PrinterTest, EndDocWithoutDocumentSubmitsNothing) {
    printer.EndDoc();
    printer.Print("one");
    printer.EndDoc();
    printer.EndDoc();
    EXPECT_EQ(capture.TakeJobs().size(), 1u);
    EXPECT_TRUE(capture.TakeJobs().empty());
}

TEST_F(PrinterTest, EachDocumentStartsFresh) {
    printer.Print("first");
    printer.EndDoc();
    printer.Print("second");
    printer.EndDoc();
    std::vector<PrintJob> jobs = capture.TakeJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].Text(), "first");
    EXPECT_EQ(jobs[1].Text(), "second");
}

TEST_F(PrinterTest, PrintItemsSpanningTwoLinesAddsBoth) {
    printer.Print(PrintItems().Text("long description").Tab(5).Text("1.00"));
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "long description\n    1.00");
}

TEST_F(PrinterTest, LinesKeepBoldAndFontSizeOfTheirPrint) {
    printer.FontBold(true);
    printer.FontSize(14);
    printer.Print("Heading");
    printer.FontBold(false);
    printer.FontSize(10);
    printer.Print("body");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 1u);
    ASSERT_EQ(job.pages[0].lines.size(), 2u);
    EXPECT_TRUE(job.pages[0].lines[0].bold);
    EXPECT_EQ(job.pages[0].lines[0].fontSize, 14);
    EXPECT_FALSE(job.pages[0].lines[1].bold);
    EXPECT_EQ(job.pages[0].lines[1].fontSize, 10);
}

TEST_F(PrinterTest, PrintingPastTheLastRowStartsANewPage) {
    for (int i = 0; i < Printer::kLinesPerPage + 1; ++i)
        printer.Print("line " + std::to_string(i));
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].lines.size(), static_cast<size_t>(Printer::kLinesPerPage));
    ASSERT_EQ(job.pages[1].lines.size(), 1u);
    EXPECT_EQ(job.pages[1].lines[0].text, "line " + std::to_string(Printer::kLinesPerPage));
}

TEST_F(PrinterTest, NewPageAndTextSeparatesPagesWithFormFeedLine) {
    printer.Print("a  ");
    printer.NewPage();
    printer.Print("b");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "a  \n\f\nb");
}

TEST_F(PrinterTest, NewPageOpensDocumentAndEmptyDocumentIsStillSubmitted) {
    printer.NewPage();
    EXPECT_TRUE(printer.DocumentOpen());
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().pages.size(), 2u);
}

TEST_F(PrinterTest, CurrentYDownPadsWithEmptyRows) {
    printer.Print("top");
    printer.CurrentY(4 * Printer::kTwipsPerLine + 100); // row 4, rounded down
    printer.Print("row four");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "top\n\n\n\nrow four");
}

TEST_F(PrinterTest, CurrentYUpOverwritesRowsFromThere) {
    printer.Print("r0");
    printer.Print("r1");
    printer.Print("r2");
    printer.Print("r3");
    printer.CurrentY(Printer::kTwipsPerLine);
    printer.Print("new1");
    printer.Print("new2");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "r0\nnew1\nnew2\nr3");
}

TEST_F(PrinterTest, CurrentYOpensDocumentAndActsOnTheCurrentPage) {
    printer.CurrentY(2 * Printer::kTwipsPerLine);
    EXPECT_TRUE(printer.DocumentOpen());
    printer.Print("x");
    printer.NewPage();
    printer.CurrentY(Printer::kTwipsPerLine);
    printer.Print("y");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.Text(), "\n\nx\n\f\n\ny");
}

TEST_F(PrinterTest, CurrentYBelowThePageSendsNextLineToANewPage) {
    printer.Print("a");
    printer.CurrentY(Printer::kLinesPerPage * Printer::kTwipsPerLine);
    printer.Print("b");
    printer.EndDoc();
    const PrintJob job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].lines.size(), static_cast<size_t>(Printer::kLinesPerPage));
    ASSERT_EQ(job.pages[1].lines.size(), 1u);
    EXPECT_EQ(job.pages[1].lines[0].text, "b");
}

TEST_F(PrinterTest, DeviceFailureDropsDocumentAndLeavesPrinterUsable) {
    vantreth::testing::FailingPrinter failing("printer out of paper");
    printer.SetDevice(failing);
    printer.Print("lost");
    EXPECT_THROW(printer.EndDoc(), PrintError);
    EXPECT_EQ(failing.attempts(), 1);
    EXPECT_FALSE(printer.DocumentOpen());
    printer.EndDoc(); // nothing open: no second attempt
    EXPECT_EQ(failing.attempts(), 1);

    printer.SetDevice(capture);
    printer.Print("next");
    printer.EndDoc();
    EXPECT_EQ(OnlyJob().Text(), "next");
}

TEST(NotPrintedMessageTest, OneBoxFitsTheScreenHoweverManyReports) {
    const std::filesystem::path print = "/data/print";
    auto reports = [&](int count, bool oneReason) {
        std::vector<NotPrinted> list;
        for (int n = 1; n <= count; ++n)
            list.push_back({"Billing Notice, account " + std::to_string(n),
                            oneReason || n == 1 ? "lp: Error - Scheduler not running." : "lp: refused",
                            print / ("report-" + std::to_string(n) + ".pdf")});
        return list;
    };
    std::vector<NotPrinted> unsaved = reports(2, true);
    unsaved[1].pdf.clear();
    struct Case {
        const char* what;
        std::vector<NotPrinted> reports;
        std::string box;
    };
    const Case cases[] = {
        {"none", {}, ""},
        {"one", reports(1, true),
         "The report could not be printed: \"Billing Notice, account 1\" (lp: Error - Scheduler not "
         "running); its "
         "PDF is kept as /data/print/report-1.pdf."},
        {"145 for one reason", reports(145, true),
         "145 reports could not be printed (lp: Error - Scheduler not running):\n\"Billing Notice, account "
         "1\"\n"
         "\"Billing Notice, account 2\"\n\"Billing Notice, account 3\"\n\"Billing Notice, account 4\"\n"
         "\"Billing Notice, account 5\"\nand 140 more.\nTheir PDFs are kept in the folder /data/print."},
        {"reasons that differ", reports(2, false),
         "2 reports could not be printed:\n\"Billing Notice, account 1\" (lp: Error - Scheduler not "
         "running)\n"
         "\"Billing Notice, account 2\" (lp: refused)\nTheir PDFs are kept in the folder /data/print."},
        {"a reason too long for the box",
         {{"Folio", std::string(170, 'r'), {}}},
         "The report could not be printed: \"Folio\" (" + std::string(157, 'r') + "...)."},
        {"a PDF not saved", unsaved,
         "2 reports could not be printed (lp: Error - Scheduler not running):\n\"Billing Notice, account "
         "1\"\n"
         "\"Billing Notice, account 2\"\n1 of their PDFs are kept in the folder /data/print."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NotPrintedMessage(c.reports), c.box) << c.what;
}

// A step saved is saved whatever befalls its reports: a device that cannot take them (no
// thread can be started) has them told as not printed, never fails the step.
TEST(PrinterReleaseTest, AStepsReportsThatCannotBeHandedOverAreToldAsNotPrinted) {
    struct NoThread final : PrinterDevice {
        void Submit(const PrintJob&) override {}
        std::string PublishStep(std::vector<std::unique_ptr<PreparedPrint>>) override {
            throw std::system_error(EAGAIN, std::generic_category(), "cannot start a thread");
        }
    } device;
    Printer printer(device, [] { return true; });
    printer.Title("Folio, room 1");
    printer.Print("Vantreth Motel");
    printer.EndDoc();
    std::string box;
    EXPECT_NO_THROW(box = printer.Release());
    EXPECT_EQ(box.rfind("The report could not be printed: \"Folio, room 1\" (cannot start a thread", 0), 0u)
        << box;
}

TEST(CapturePrinterTest, TakeJobsReturnsJobsSinceLastTake) {
    CapturePrinter capture;
    Printer printer(capture);
    printer.Print("1");
    printer.EndDoc();
    printer.Print("2");
    printer.EndDoc();
    std::vector<PrintJob> first = capture.TakeJobs();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].Text(), "2");
    EXPECT_TRUE(capture.jobs().empty());
    printer.Print("3");
    printer.EndDoc();
    std::vector<PrintJob> second = capture.TakeJobs();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].Text(), "3");
}
} // namespace
} // namespace platform
