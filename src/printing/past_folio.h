// The folio of a checked-out stay, rebuilt from the stay's ledger with today's tax rate:
// the lines of Find Checked Out Guest's folio list and the reprinted past folio.
#pragma once

#include "platform/files.h"
#include "platform/printer.h"
#include "records/direct_bill.h"
#include "records/history.h"
#include "records/motel_settings.h"
#include "records/stay_ledger.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace printing {

inline constexpr int kPastFolioRuleWidth = 73;
inline constexpr std::string_view kPastFolioHeading =
    "ROOM  SFT  DATE      CODE  DES                    AMOUNT   TAX   BALANCE";
// The list's and the printout's note for a stay whose ledger is gone.
inline constexpr std::string_view kNoFurtherInfoListLine =
    "                            NO FURTHER INFO. AVAILABLE";
inline constexpr std::string_view kNoFurtherInfoPrintLine =
    "                         No further info. available";

// The total tax rate of the "tax" file; 0 when the motel never set one.
double CurrentTaxRate(const platform::DataFolder& folder);

bool IsTaxExempt(const records::HistoryEntry& entry);

// The stay's ledger, named from the entry's Room (3 characters), names and arrival date.
platform::FilePath PastStayLedgerPath(const platform::DataFolder& folder, const records::HistoryEntry& entry);
// Its lines; nullopt when the file does not exist. A file that cannot be read throws IoError.
std::optional<std::vector<records::StayLedgerLine>> ReadPastStayLedger(const platform::DataFolder& folder,
                                                                       const records::HistoryEntry& entry);

// The tax column: for a room-rent line its tax rounded to 2 decimals without a leading
// blank ("4.5", "0" when untaxed); "" for every other line.
std::string PastFolioTaxText(const records::StayLedgerLine& line, double taxRate, bool taxExempt);

// One line of the folio list: room, shift, date and code two blanks apart, the
// description filled to 28, the amount to 11, the tax text to 6, then the balance.
std::string PastFolioListLine(const records::StayLedgerLine& line, std::string_view taxText,
                              const platform::Decimal& balance);

struct RebuiltFolio {
    std::vector<std::string> lines; // one per ledger line
    platform::Decimal balance;
};
RebuiltFolio RebuildPastFolio(const std::vector<records::StayLedgerLine>& ledger, double taxRate,
                              bool taxExempt);

// What the list shows for a stay without a ledger: four lines of one blank, then the note.
std::vector<std::string> NoFurtherInfoListLines();
// The folio list of the entry's stay with today's tax rate, or the note when its ledger is gone.
std::vector<std::string> PastFolioListLines(const platform::DataFolder& folder,
                                            const records::HistoryEntry& entry);

// The printout's lines.
platform::PrintItems PastFolioNameLine(const records::HistoryEntry& entry);
platform::PrintItems PastFolioStreetLine(const records::HistoryEntry& entry);
platform::PrintItems PastFolioTownLine(const records::HistoryEntry& entry);
platform::PrintItems PastFolioDepartTimeLine(const records::HistoryEntry& entry);
platform::PrintItems PastFolioLedgerLine(const records::StayLedgerLine& line, std::string_view taxText,
                                         const platform::Decimal& balance);
platform::PrintItems PastFolioBalanceLine(const platform::Decimal& balance);

// The sums under the folio, added up exactly and printed rounded to the cent.
using PastFolioTotals = records::StayLedgerSums;
PastFolioTotals SumPastFolio(const std::vector<records::StayLedgerLine>& ledger, double taxRate,
                             bool taxExempt);
// The lines after the balance: room rent and tax, each card, cash; blank lines included.
std::vector<std::string> PastFolioTotalsLines(const PastFolioTotals& totals);

// "DIRECT BILL ACCOUNT: " + code + " " + company; only the code when no account has it.
std::string PastFolioDirectBillLine(std::string_view code,
                                    const std::optional<records::DirectBillAccount>& account);

// Prints the whole past folio of the entry as one document. Every file is read before
// the first line, so a file that cannot be read prints nothing.
void PrintPastFolio(platform::Printer& printer, const platform::DataFolder& folder,
                    const records::MotelSettings& motel, const records::HistoryEntry& entry);

} // namespace printing
