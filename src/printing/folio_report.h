// The guest's printed folio: on its own ("Print Folio") and at a direct-bill check-out,
// which prints the departure time, the stay's balance and the account's new balance.
#pragma once

#include "platform/printer.h"
#include "records/direct_bill.h"
#include "records/guest_record.h"
#include "records/motel_settings.h"
#include "records/stay_ledger.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace printing {

enum class FolioForm { PrintFolio, CheckOut };

inline constexpr int kFolioReportRuleWidth = 73;
inline constexpr std::string_view kFolioReportHeading =
    "ROOM  SFT  DATE      CODE  DESCRIPTION            AMOUNT   TAX   BALANCE";

// The sums of a folio: the stay's ledger summed by kind, added up exactly and kept as Singles
// rounded to the cent, and its balance, rounded after every line.
struct FolioReportTotals : records::StayLedgerSums {
    platform::Decimal balance;
};
FolioReportTotals SumFolioReport(const std::vector<records::StayLedgerLine>& ledger, double taxRate,
                                 bool taxExempt);

// The guest lines under the motel's header.
platform::PrintItems FolioReportNameLine(const records::GuestRecord& guest);
platform::PrintItems FolioReportStreetLine(const records::GuestRecord& guest);
platform::PrintItems FolioReportTownLine(const records::GuestRecord& guest);
platform::PrintItems FolioReportPresentTimeLine(std::string_view timeText);
platform::PrintItems FolioReportDepartTimeLine(std::string_view checkOutTime);
platform::PrintItems FolioReportTodayLine(std::string_view dateText);

// One ledger line: the tax text sits at column 60 on the folio and 59 at check-out.
platform::PrintItems FolioReportLedgerLine(const records::StayLedgerLine& line, std::string_view taxText,
                                           const platform::Decimal& balance, FolioForm form);
platform::PrintItems FolioReportBalanceLine(const platform::Decimal& balance, FolioForm form);

// The lines after the balance line's blank, up to the closing words: the sums, and the
// account for a direct-bill stay.
std::vector<std::string> PrintFolioTotalsLines(const FolioReportTotals& totals, std::string_view payCode,
                                               std::string_view accountLine);
// accountBalanceAfter: the account's balance with this stay added; the line is left out
// when the account was not found.
std::vector<std::string> CheckOutTotalsLines(const FolioReportTotals& totals, std::string_view accountLine,
                                             std::optional<platform::Decimal> accountBalanceAfter);
// The thanks, three blank lines and the signature line.
std::vector<std::string> FolioClosingLines(std::string_view motelName, FolioForm form);

// Everything a folio printout shows.
struct FolioReport {
    FolioForm form = FolioForm::PrintFolio;
    records::GuestRecord guest;
    std::vector<records::StayLedgerLine> ledger;
    double taxRate = 0;
    std::string timeText;    // the present time (folio) or the check-out time just stored
    std::string dateText;    // today
    std::string accountLine; // the folio window's account line
    std::optional<records::DirectBillAccount> account; // the account, before this stay is added
};

// Prints the folio as one document and returns its totals.
FolioReportTotals PrintFolioReport(platform::Printer& printer, const records::MotelSettings& motel,
                                   const FolioReport& report);

} // namespace printing
