// The folio window's arithmetic and record work.
#include "folio/folio_postings.h"
#include "platform/engine.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/history.h"
#include "records/posting_codes.h"
#include "records/room_record.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"

#include <cctype>

namespace vantreth {

using platform::CStr;
using platform::RTrim;
using records::GuestRecord;
using records::StayLedgerLine;

namespace {

// Blanks up to the width; a text already that wide or wider gets one blank after it, so
// two columns never run into each other.
std::string PadTo(std::string text, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    else
        text += ' ';
    return text;
}

float Amount(const PostingInput& input) {
    return static_cast<float>(platform::Val(input.amountText));
}

} // namespace

double FolioTaxRate(const platform::DataFolder& data) {
    return records::ReadTaxRate(data).value_or(0.0);
}

std::string FolioRoomItem(const GuestRecord& guest) {
    return guest.Room + " " + RTrim(guest.LastName) + " " + RTrim(guest.FirstName);
}

std::vector<std::string> FolioRoomItems(const platform::DataFolder& data) {
    std::vector<std::string> items;
    for (const GuestRecord& guest : records::ReadAllGuests(data, records::kGuestFile)) {
        if (!RTrim(guest.LastName).empty() && !RTrim(guest.FirstName).empty())
            items.push_back(FolioRoomItem(guest));
    }
    return items;
}

std::optional<long> FindGuestByItem(const platform::DataFolder& data, std::string_view item) {
    const std::vector<GuestRecord> guests = records::ReadAllGuests(data, records::kGuestFile);
    for (size_t i = 0; i < guests.size(); ++i) {
        if (!guests[i].IsFree() && FolioRoomItem(guests[i]) == item)
            return static_cast<long>(i) + 1;
    }
    return std::nullopt;
}

std::optional<long> FindGuestByRoomExact(const platform::DataFolder& data, std::string_view room) {
    const std::vector<GuestRecord> guests = records::ReadAllGuests(data, records::kGuestFile);
    for (size_t i = 0; i < guests.size(); ++i) {
        if (!guests[i].IsFree() && guests[i].Room == room)
            return static_cast<long>(i) + 1;
    }
    return std::nullopt;
}

std::string FolioTaxText(const StayLedgerLine& line, double taxRate, bool taxExempt) {
    if (line.Code != records::kRoomRent.code)
        return std::string();
    return records::LineTax(line, taxRate, taxExempt).Text();
}

std::string FolioLine(const StayLedgerLine& line, std::string_view taxText,
                      const platform::Decimal& balance) {
    std::string text = line.Room + "    " + line.Shift + "     ";
    text += PadTo(line.PostDate, 11);
    text += line.Code + "     ";
    text += line.Description;
    text += platform::Space(32 - static_cast<long>(RTrim(line.Description).size()));
    text += PadTo(platform::StoredStr(line.Amount), 11);
    text += PadTo(std::string(taxText), 6);
    text += platform::AmountStr(balance);
    return text;
}

FolioListing ListFolio(const std::vector<StayLedgerLine>& ledger, double taxRate, bool taxExempt,
                       bool blankExemptTax) {
    FolioListing listing;
    for (const StayLedgerLine& line : ledger) {
        const std::string& code = line.Code;
        if (code == records::kRoomRent.code)
            listing.sums.rent += platform::Decimal::Of(line.Amount);
        else if (code == records::kCash.code)
            listing.sums.cash += platform::Decimal::Of(line.Amount);
        else if (code == records::kPhoneCharge.code)
            listing.sums.phone += platform::Decimal::Of(line.Amount);
        else if (code == records::kPetOther.code)
            listing.sums.other += platform::Decimal::Of(line.Amount);
        else if (records::IsCardCode(code))
            listing.sums.cards += platform::Decimal::Of(line.Amount);
        listing.balance = records::AddToStayBalance(listing.balance, line, taxRate, taxExempt);
        std::string taxText = FolioTaxText(line, taxRate, taxExempt);
        if (blankExemptTax && taxExempt)
            taxText.clear();
        listing.lines.push_back(FolioLine(line, taxText, listing.balance));
    }
    return listing;
}

std::optional<std::vector<StayLedgerLine>> ReadFolioLedger(const platform::DataFolder& data,
                                                           const GuestRecord& guest) {
    const platform::FilePath ledger = records::StayLedgerPath(data, guest);
    if (!platform::FileExists(ledger))
        return std::nullopt;
    return records::ReadStayLedger(ledger);
}

bool IsAmountText(std::string_view text) {
    std::string trimmed = platform::Trim(text);
    if (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+'))
        trimmed.erase(0, 1);
    if (trimmed.empty())
        return false;
    bool digit = false;
    bool point = false;
    for (char c : trimmed) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit && platform::FitsSingle(platform::Val(trimmed)); // 40 digits are no amount
}

std::optional<std::string> PostingProblem(const PostingInput& input) {
    if (!records::IsPostingCode(input.code))
        return std::string(
            "The charge code must be one of E, J, G, L, N, M, P or O. Please pick it from the list.");
    if (!IsAmountText(input.amountText))
        return std::string("The amount is not a number. Please type the amount again.");
    if (const char* refusal = records::TypedAmountRefusal(input.amountText))
        return std::string(refusal);
    return std::nullopt;
}

CodeDefaults DefaultsForCode(std::string_view code, const GuestRecord& guest) {
    CodeDefaults d;
    const records::PostingCode* row = records::FindPostingCode(code);
    if (row == nullptr || !row->IsPosting())
        return d;
    const records::PostingDefaults& defaults = row->defaults;
    if (defaults.amountIsRate)
        d.amount = platform::AmountText(platform::Decimal::Of(guest.Rate)); // a rate of 53.955 posts 53.96
    else if (!defaults.amount.empty())
        d.amount = std::string(defaults.amount);
    if (!defaults.comment.empty())
        d.comment = std::string(defaults.comment);
    if (!defaults.taxCode.empty())
        d.taxCode = std::string(defaults.taxCode);
    return d;
}

StayLedgerLine PostingLedgerLine(const GuestRecord& guest, const PostingInput& input,
                                 const PostingContext& context) {
    return {.Room = guest.Room,
            .Shift = context.shift,
            .PostDate = context.dateText,
            .Code = input.code,
            .Description = platform::Left(platform::UCase(input.comment), 32),
            .Amount = Amount(input),
            .TaxValue = 0,
            .TaxFlag = input.taxCode == "N" ? "N" : ""};
}

void PostToFolio(const platform::DataFolder& data, const GuestRecord& guest, const PostingInput& input,
                 const PostingContext& context, double taxRate) {
    const StayLedgerLine line = PostingLedgerLine(guest, input, context);
    const platform::Decimal amount = platform::Decimal::Of(line.Amount);
    platform::DescribeStep(data, "Posting of " + platform::Trim(line.Description) + " " +
                                     platform::AmountText(amount) + " to room " + platform::Trim(guest.Room) +
                                     " (" + platform::Trim(guest.FirstName) + " " +
                                     platform::Trim(guest.LastName) + ")");
    records::PostToStay(data, records::StayLedgerPath(data, guest), line, context.clerk);

    const records::PostingCode* code = records::FindPostingCode(input.code);
    if (code != nullptr && code->shiftCash) {
        records::AddToShiftCash(data, context.shift, context.clerk, context.dateText,
                                records::ShiftCashField::CashFromRent,
                                platform::Decimal::Parse(input.amountText));
    }
    if (input.code == records::kRoomRent.code)
        records::AddRoomRentToDayTotals(data, context.dateText, amount, taxRate, input.taxCode == "N");
    else if (const std::optional<records::DayTotalsField> field = records::DayTotalsFieldForCode(input.code))
        records::AddToDayTotals(data, context.dateText, *field, amount);
}

CheckOutWay ChooseCheckOut(const platform::Decimal& balance, std::string_view accountLine,
                           std::string_view payCode) {
    if (accountLine.empty() && balance != platform::Decimal())
        return CheckOutWay::BalanceDue;
    if (records::IsCardCode(payCode) || balance == platform::Decimal())
        return CheckOutWay::Ordinary;
    if (payCode == records::kDirectBill.code)
        return CheckOutWay::DirectBill;
    return CheckOutWay::Nothing;
}

StayAccount AccountOfStay(const platform::DataFolder& data, const GuestRecord& guest) {
    StayAccount account;
    if (RTrim(guest.DBNumber).empty())
        return account;
    account.record = records::FindAccount(data, RTrim(guest.DBNumber));
    if (account.record) {
        const records::DirectBillAccount found = records::ReadAccount(data, *account.record);
        account.line = RTrim(found.DBNumber) + "  " + RTrim(found.CompanyName);
    }
    return account;
}

std::optional<CheckOutState> ReadCheckOutState(const platform::DataFolder& data, long slot) {
    CheckOutState state;
    state.guest = records::ReadGuest(data, records::kGuestFile, slot);
    std::optional<std::vector<StayLedgerLine>> ledger = ReadFolioLedger(data, state.guest);
    if (!ledger)
        return std::nullopt;
    state.ledger = std::move(*ledger);
    state.taxRate = FolioTaxRate(data);
    state.balance = records::StayBalance(state.ledger, state.taxRate, state.guest.IsTaxExempt());
    state.account = AccountOfStay(data, state.guest);
    state.way = ChooseCheckOut(state.balance, state.account.line, RTrim(state.guest.PayCode));
    if (!RTrim(state.guest.DBNumber).empty())
        state.chargedAccount = records::FindAccount(data, records::ChargingKey(state.guest.DBNumber));
    return state;
}

void ReleaseStay(const platform::DataFolder& data, long slot) {
    GuestRecord guest = records::ReadGuest(data, records::kGuestFile, slot);
    const std::string room = guest.Room;
    guest.ClearStay();
    records::WriteGuest(data, records::kGuestFile, slot, guest);

    if (const std::optional<long> n = records::FindRoom(data, room)) {
        records::RoomRecord record = records::ReadRoom(data, *n);
        record.Clean = "N";
        record.Vacant = "Y";
        record.Service = "A";
        records::WriteRoom(data, *n, record);
    }
}

void CheckOutOrdinary(const platform::DataFolder& data, long slot, std::string_view timeText,
                      const platform::Date& today) {
    const GuestRecord guest = records::ReadGuest(data, records::kGuestFile, slot);
    platform::DescribeStep(data, "Check-out of " + platform::Trim(guest.FirstName) + " " +
                                     platform::Trim(guest.LastName) + " from room " +
                                     platform::Trim(guest.Room));
    records::AppendHistoryEntry(data, records::HistoryForCheckOut(guest, timeText, today));
    ReleaseStay(data, slot);
}

void CheckOutDirectBill(const platform::DataFolder& data, long slot, std::string_view timeText,
                        const platform::Decimal& stayBalance, std::string_view shift,
                        std::string_view dateText) {
    // The day's direct-bill line keeps the balance as a Single: it must keep it to the cent.
    platform::RequireFitsSingleToTheCent(stayBalance, "The balance of this stay");
    GuestRecord guest = records::ReadGuest(data, records::kGuestFile, slot);
    platform::DescribeStep(data, "Check-out of " + platform::Trim(guest.FirstName) + " " +
                                     platform::Trim(guest.LastName) + " from room " +
                                     platform::Trim(guest.Room) + ", " + platform::AmountText(stayBalance) +
                                     " billed to the account");
    guest.CheckOutTime = platform::Fixed(timeText, 10);
    records::WriteGuest(data, records::kGuestFile, slot, guest);

    records::AppendHistoryEntry(data, records::HistoryForDirectBillCheckOut(guest, timeText));
    ReleaseStay(data, slot);

    const std::optional<long> account =
        records::ChargeAccount(data, records::ChargingKey(guest.DBNumber), stayBalance);
    if (!account)
        return;
    records::DbDailyLine line;
    line.Room = guest.Room;
    line.Shift = std::string(shift);
    line.PostDate = std::string(dateText);
    line.Account = records::DbDailyAccountText(records::ReadAccount(data, *account));
    line.Amount = stayBalance.Rounded(2).ToSingle();
    records::AppendDbDailyLine(data, dateText, line);
}

} // namespace vantreth
