// The letterhead at the head of the printed folios: the same four lines as the billing
// notices, built from the settings or set line by line, in the folio's places.
#include "printing/letterhead.h"

#include "printing/direct_bill_reports.h"
#include "printing/folio_report.h"
#include "support/builders.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace printing {
namespace {

std::vector<std::string> FolioHead(const records::MotelSettings& motel) {
    platform::CapturePrinter device;
    platform::Printer printer(device);
    printer.Print("LEFT OVER");
    StartFolioDocument(printer, motel);
    printer.EndDoc();
    std::vector<platform::PrintJob> jobs = device.TakeJobs();
    std::vector<std::string> lines;
    if (jobs.size() != 2 || jobs[0].Text() != "LEFT OVER")
        return {"jobs: " + std::to_string(jobs.size())};
    for (const platform::PrintedPage& page : jobs[1].pages)
        for (const platform::PrintedLine& line : page.lines)
            lines.push_back(line.text);
    return lines;
}

TEST(LetterheadTest, FoliosPrintTheNoticesLetterheadLines) {
    records::MotelSettings motel;
    motel.motelName = "PINE LODGE";
    motel.street = "9 ROUTE 30";
    motel.town = "ELMWOOD, OH. 45000";
    motel.phone = "555-0199";
    motel.fax = "555-0198";
    const std::string built[] = {std::string(31, ' ') + "PINE LODGE", std::string(31, ' ') + "9 ROUTE 30",
                                 std::string(28, ' ') + "ELMWOOD, OH. 45000",
                                 "  Phone: 555-0199    Fax:555-0198"};
    EXPECT_EQ(FolioHead(motel),
              (std::vector<std::string>{"", built[0], built[1], built[2], "", "", built[3], "", ""}));

    motel.letterheadLines[1] = "  9 ROUTE 30, NEAR THE LAKE";
    EXPECT_EQ(FolioHead(motel), (std::vector<std::string>{"", built[0], "  9 ROUTE 30, NEAR THE LAKE",
                                                          built[2], "", "", built[3], "", ""}));
}

// A document that starts with the letterhead is named in the printer's queue and in a box by
// what it is, not by the motel's name on its first line.
TEST(LetterheadTest, LetterheadDocumentsAreNamedByWhatTheyAre) {
    const records::MotelSettings motel;
    FolioReport folio;
    folio.guest = vantreth::testing::Guest("12", "LEE", "ANN");
    struct Case {
        std::function<void(platform::Printer&)> print;
        std::string name;
    };
    const Case cases[] = {
        {[&](platform::Printer& p) { PrintFolioReport(p, motel, folio); }, "Folio, room 12, ANN LEE"},
        {[&](platform::Printer& p) {
             FolioReport out = folio;
             out.form = FolioForm::CheckOut;
             PrintFolioReport(p, motel, out);
         },
         "Check-Out Folio, room 12, ANN LEE"},
        {[&](platform::Printer& p) {
             PrintBillingNotice(p, motel, "12/7/26", vantreth::testing::CompanyAccount("1001", "ACME CO", 25),
                                NoticeForm::Full);
         },
         "Billing Notice, account 1001, ACME CO"},
    };
    for (const Case& c : cases) {
        platform::CapturePrinter device;
        platform::Printer printer(device);
        c.print(printer);
        ASSERT_EQ(device.jobs().size(), 1u) << c.name;
        EXPECT_EQ(device.jobs()[0].Name(), c.name);
    }
    EXPECT_EQ(LetterheadDocumentName("Past Folio", "room", "   ", " ANN LEE "), "Past Folio, ANN LEE");
}

} // namespace
} // namespace printing
