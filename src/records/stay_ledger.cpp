// The stay ledger, the day detail, the shift rentals and the stay's balance.
#include "records/stay_ledger.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/date_digits.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/posting_codes.h"

namespace records {

using platform::DataFolder;
using platform::SeqLine;
using platform::SeqReader;

SeqLine StayLedgerLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(PostDate).Text(Code).Text(Description);
    line.Number(Amount).Number(TaxValue);
    line.Text(TaxFlag).Text(Filler1).Text(Filler2);
    return line;
}

SeqLine DayDetailLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(PostDate).Text(Code).Text(Description);
    line.Number(Amount);
    line.Text(Clerk).Text(Filler1).Text(Filler2).Text(Filler3).Text(Filler4);
    return line;
}

SeqLine ShiftRentalLine::ToSeqLine() const {
    SeqLine line;
    line.Text(Room).Text(Shift).Text(Clerk).TimeLit(TimeRented);
    return line;
}

platform::FilePath StayLedgerPath(const DataFolder& folder, const GuestRecord& guest) {
    const platform::FilePath ledger =
        StayLedgerFile(folder, guest.Room, guest.LastName, guest.FirstName, guest.ArrivalDate);
    // A stay checked in before names went through StoredText may have its ledger under the
    // name as typed (a double quote in it); it is found there until it is carried.
    if (!platform::FileExists(ledger)) {
        const std::string typed = "dailycharge" + platform::Fixed(guest.Room, 3) +
                                  platform::RTrim(guest.LastName) + platform::RTrim(guest.FirstName) +
                                  DateDigits(platform::RTrim(guest.ArrivalDate));
        const platform::FilePath old = folder.File("dailycharge", typed);
        if (old != ledger && platform::FileExists(old))
            return old;
    }
    return ledger;
}

bool NewStayLedgerTaken(const DataFolder& folder, const GuestRecord& guest) {
    return platform::FileExists(StayLedgerPath(folder, guest));
}

void AppendStayLedgerLine(const platform::FilePath& ledger, const StayLedgerLine& line) {
    platform::AppendLine(ledger, line.ToSeqLine());
}

std::vector<StayLedgerLine> ReadStayLedger(const platform::FilePath& ledger) {
    SeqReader reader(ledger);
    std::vector<StayLedgerLine> lines;
    reader.ForEachLine(10, [&] {
        StayLedgerLine line;
        line.Room = reader.ReadText();
        line.Shift = reader.ReadText();
        line.PostDate = reader.ReadText();
        line.Code = reader.ReadText();
        line.Description = reader.ReadText();
        line.Amount = static_cast<float>(reader.ReadNumber());
        line.TaxValue = static_cast<float>(reader.ReadNumber());
        line.TaxFlag = reader.ReadText();
        line.Filler1 = reader.ReadText();
        line.Filler2 = reader.ReadText();
        lines.push_back(std::move(line));
    });
    return lines;
}

void AppendDayDetailLine(const DataFolder& folder, std::string_view dateText, const DayDetailLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::Detail, dateText), line.ToSeqLine());
}

std::vector<DayDetailLine> ReadDayDetail(const DataFolder& folder, std::string_view dateText) {
    SeqReader reader(DayFilePath(folder, DayFile::Detail, dateText));
    std::vector<DayDetailLine> lines;
    reader.ForEachLine(11, [&] {
        DayDetailLine line;
        line.Room = reader.ReadText();
        line.Shift = reader.ReadText();
        line.PostDate = reader.ReadText();
        line.Code = reader.ReadText();
        line.Description = reader.ReadText();
        line.Amount = static_cast<float>(reader.ReadNumber());
        line.Clerk = reader.ReadText();
        line.Filler1 = reader.ReadText();
        line.Filler2 = reader.ReadText();
        line.Filler3 = reader.ReadText();
        line.Filler4 = reader.ReadText();
        lines.push_back(std::move(line));
    });
    return lines;
}

void AppendShiftRentalLine(const DataFolder& folder, std::string_view shift, std::string_view dateText,
                           const ShiftRentalLine& line) {
    platform::AppendLine(ShiftFilePath(folder, ShiftFile::ShiftRentals, shift, dateText), line.ToSeqLine());
}

DayDetailLine DetailLineOf(const StayLedgerLine& line, std::string_view clerk) {
    return DayDetailLine{.Room = line.Room,
                         .Shift = line.Shift,
                         .PostDate = line.PostDate,
                         .Code = line.Code,
                         .Description = line.Description,
                         .Amount = line.Amount,
                         .Clerk = std::string(clerk)};
}

void PostToStay(const DataFolder& folder, const platform::FilePath& ledger, const StayLedgerLine& line,
                std::string_view clerk, PostTo to) {
    if (to != PostTo::DetailOnly)
        AppendStayLedgerLine(ledger, line);
    if (to != PostTo::LedgerOnly)
        AppendDayDetailLine(folder, line.PostDate, DetailLineOf(line, clerk));
}

std::vector<ShiftRentalLine> ReadShiftRentals(const DataFolder& folder, std::string_view shift,
                                              std::string_view dateText) {
    const platform::FilePath file = ShiftFilePath(folder, ShiftFile::ShiftRentals, shift, dateText);
    SeqReader reader(file);
    std::vector<ShiftRentalLine> lines;
    reader.ForEachLine(4, [&] {
        ShiftRentalLine line;
        line.Room = reader.ReadText();
        line.Shift = reader.ReadText();
        line.Clerk = reader.ReadText();
        const std::string timeText = reader.ReadText();
        const std::optional<platform::TimeOfDay> time = platform::ParseTime(timeText);
        if (!time)
            throw platform::IoError(file, "Not a time: \"" + timeText + "\"");
        line.TimeRented = *time;
        lines.push_back(std::move(line));
    });
    return lines;
}

namespace {

// A room-rent line of a taxed stay whose TaxFlag is not "N".
bool Taxed(const StayLedgerLine& line, bool taxExempt) {
    return line.Code == kRoomRent.code && line.TaxFlag != "N" && !taxExempt;
}

} // namespace

platform::Decimal LineCharge(const StayLedgerLine& line, double taxRate, bool taxExempt) {
    const platform::Decimal amount = platform::Decimal::Of(line.Amount);
    if (!Taxed(line, taxExempt))
        return amount;
    return ChargeRoomRent(amount, taxRate).gross;
}

StayLedgerSums SumStayLedger(const std::vector<StayLedgerLine>& lines, double taxRate, bool taxExempt) {
    platform::Decimal roomRent, tax, visaMaster, americanExpress, discover, diners, cash;
    for (const StayLedgerLine& line : lines) {
        const std::string& code = line.Code;
        const platform::Decimal amount = platform::Decimal::Of(line.Amount);
        if (code == "E") {
            roomRent += amount;
            tax += LineCharge(line, taxRate, taxExempt) - amount;
        } else if (code == "N") {
            visaMaster += amount;
        } else if (code == "M") {
            americanExpress += amount;
        } else if (code == "P") {
            discover += amount;
        } else if (code == "O") {
            diners += amount;
        } else if (code == "L") {
            cash += amount;
        }
    }
    return {.roomRent = roomRent,
            .tax = tax,
            .visaMaster = visaMaster,
            .americanExpress = americanExpress,
            .discover = discover,
            .diners = diners,
            .cash = cash};
}

platform::Decimal LineTax(const StayLedgerLine& line, double taxRate, bool taxExempt) {
    if (!Taxed(line, taxExempt))
        return platform::Decimal();
    return ChargeRoomRent(platform::Decimal::Of(line.Amount), taxRate).tax.Rounded(2);
}

platform::Decimal AddToStayBalance(const platform::Decimal& balance, const StayLedgerLine& line,
                                   double taxRate, bool taxExempt) {
    const int sign = BalanceSign(line.Code);
    if (sign == 0)
        return balance;
    const platform::Decimal charge = LineCharge(line, taxRate, taxExempt);
    return (balance + (sign > 0 ? charge : -charge)).Rounded(2);
}

platform::Decimal StayBalance(const std::vector<StayLedgerLine>& lines, double taxRate, bool taxExempt) {
    platform::Decimal balance;
    for (const StayLedgerLine& line : lines)
        balance = AddToStayBalance(balance, line, taxRate, taxExempt);
    return balance;
}

} // namespace records
