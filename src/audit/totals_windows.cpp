// The daily and monthly totals windows' figures and prints, and the totals repair writes.
#include "audit/totals_windows.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/night_audit_monthly.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/settings_files.h"
#include "records/shift_cash.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace vantreth::audit {

using platform::CStr;
using platform::Str;

// ---- Daily totals ----

std::vector<std::string> DayPickerDates(const platform::Date& today) {
    std::vector<std::string> dates;
    platform::Date d = today;
    for (;;) {
        const std::string text = platform::DateText(d);
        dates.push_back(text);
        if (platform::Left(text, 4) == "1/1/")
            break;
        d = platform::AddDays(d, -1);
    }
    return dates;
}

DailyTotalsFigures ReadDailyTotalsFigures(const platform::DataFolder& folder, std::string_view dateText) {
    const float cityRate = records::ReadCityTax(folder);
    const float stateRate = records::ReadStateTax(folder);
    const records::DayTotals t = records::ReadDayTotals(folder, dateText);
    DailyTotalsFigures figures;
    figures.dateText = std::string(dateText);
    const float amounts[10] = {t.RoomRent, t.GrossRent,    t.Tax,        t.Cash,
                               t.PetOther, t.PhoneCharges, t.VisaMaster, t.AmericanExpress,
                               t.Discover, t.Diners};
    for (size_t i = 0; i < 10; ++i)
        figures.amounts[i] = platform::StoredText(amounts[i]);
    figures.stateTax = printing::TaxOnRoomRent(stateRate, platform::Decimal::Of(t.RoomRent)).Text();
    figures.cityTax = printing::TaxOnRoomRent(cityRate, platform::Decimal::Of(t.RoomRent)).Text();
    figures.roomsRented = CStr(records::ReadRoomsRented(folder, dateText).RoomsRented);
    return figures;
}

printing::DailyTotalsPage DailyTotalsWindowPage(const DailyTotalsFigures& figures) {
    printing::DailyTotalsPage page;
    page.dateText = figures.dateText;
    page.roomRent = figures.amounts[0];
    page.grossRent = figures.amounts[1];
    page.tax = figures.amounts[2];
    page.cash = figures.amounts[3];
    page.petOther = figures.amounts[4];
    page.phone = figures.amounts[5];
    page.visaMaster = figures.amounts[6];
    page.americanExpress = figures.amounts[7];
    page.discover = figures.amounts[8];
    page.diners = figures.amounts[9];
    page.stateTax = figures.stateTax;
    page.cityTax = figures.cityTax;
    page.roomsLine = "                        TOTAL ROOMS TODAY: " + figures.roomsRented;
    return page;
}

// ---- Monthly totals ----

std::vector<std::string> YearItems(int currentYear) {
    // The list once stopped at 2020; the year the desk works in must always be there.
    std::vector<std::string> years;
    for (int y = 2004; y <= std::max(2020, currentYear); ++y)
        years.push_back(std::to_string(y));
    return years;
}

std::string MonthKeyOf(std::string_view monthItem) {
    std::string key = platform::Left(monthItem, 2);
    key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
    return key;
}

std::string MonthNameOfItem(std::string_view monthItem) {
    const double number = platform::Val(platform::Left(monthItem, 2));
    const int month = static_cast<int>(number);
    return number == month ? printing::MonthName(month) : "";
}

namespace {

// The text and blanks up to the width; a longer text gets none.
std::string Column(const std::string& text, long width) {
    return text + platform::Space(width - static_cast<long>(text.size()));
}

} // namespace

std::string MonthListRow(std::string_view dayText, float roomRent, float grossRent, float tax, float cash,
                         float petOther, float phone, float rooms) {
    using platform::StoredStr;
    return Column(std::string(dayText), 7) + Column(StoredStr(roomRent), 9) +
           Column(StoredStr(grossRent), 9) + Column(StoredStr(tax), 9) + Column(StoredStr(cash), 12) +
           Column(StoredStr(petOther), 9) + Column(StoredStr(phone), 9) + Str(rooms);
}

// The system writes two-digit years in its date text, so the list's day keys are the same
// as the print's.
MonthFigures ReadMonthFigures(const platform::DataFolder& folder, std::string_view monthItem,
                              std::string_view yearItem) {
    MonthFigures figures;
    platform::Decimal rent, grossRent, tax, cash, other, phone;
    float rooms = 0;
    for (const printing::MonthDay& day : printing::MonthDaySlots(MonthKeyOf(monthItem), yearItem)) {
        const float dayRooms = records::ReadRoomsRented(folder, day.digits).RoomsRented;
        const records::DayTotals t = records::ReadDayTotals(folder, day.digits);
        if (t.RoomRent != 0 && t.GrossRent != 0)
            figures.rows.push_back(MonthListRow(day.dateText, t.RoomRent, t.GrossRent, t.Tax, t.Cash,
                                                t.PetOther, t.PhoneCharges, dayRooms));
        rent += platform::Decimal::Of(t.RoomRent);
        grossRent += platform::Decimal::Of(t.GrossRent);
        tax += platform::Decimal::Of(t.Tax);
        cash += platform::Decimal::Of(t.Cash);
        other += platform::Decimal::Of(t.PetOther);
        phone += platform::Decimal::Of(t.PhoneCharges);
        rooms += dayRooms;
    }
    const float cityRate = records::ReadCityTax(folder);
    const float stateRate = records::ReadStateTax(folder);
    auto rounded = [](const platform::Decimal& sum) { return sum.Rounded(2).Text(); };
    figures.rent = rounded(rent);
    figures.grossRent = rounded(grossRent);
    figures.tax = rounded(tax);
    figures.cash = rounded(cash);
    figures.other = rounded(other);
    figures.phone = rounded(phone);
    figures.rooms = CStr(rooms);
    figures.cityTax = printing::TaxOnRoomRent(cityRate, rent).Text();
    figures.stateTax = printing::TaxOnRoomRent(stateRate, rent).Text();
    return figures;
}

void PrintMonthWindowReport(const platform::DataFolder& folder, platform::Printer& printer,
                            std::string_view monthItem, std::string_view yearItem,
                            std::string_view roomsShown, std::string_view cityTaxShown,
                            std::string_view stateTaxShown) {
    const std::string monthName = MonthNameOfItem(monthItem);
    const printing::MonthlyRentSums sums = printing::PrintMonthlyTotalsPage(
        folder, printer, monthName, printing::MonthDaySlots(MonthKeyOf(monthItem), yearItem), true,
        printing::EmptyTotalsFiles::Keep);
    // The average rent as the audit prints it; the rest from the figures on the screen.
    printing::MonthlyContinuedValues values = printing::AuditContinuedValues(sums, 0, 0);
    double averageRooms = 0;
    if (sums.countedDays != 0)
        averageRooms = platform::Round(platform::Val(roomsShown) / sums.countedDays, 2);
    values.averageRooms = Str(averageRooms) + " ";
    values.cityTax = std::string(cityTaxShown);
    values.stateTax = std::string(stateTaxShown);
    printing::PrintMonthlyContinuedPage(printer, monthName, values);
}

// ---- Totals repair ----

namespace {

constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

uint32_t Rotr(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

// The access code is kept only as its digest, so it cannot be read out of the program.
constexpr std::string_view kAccessCodeDigest =
    "38b5e6e7d626ffcae0fa22138e33143d30cee02a119a83748770a872d55c618d";

} // namespace

std::string Sha256Hex(std::string_view bytes) {
    uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                     0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string message(bytes);
    const uint64_t bitLength = static_cast<uint64_t>(bytes.size()) * 8;
    message.push_back(static_cast<char>(0x80));
    while (message.size() % 64 != 56)
        message.push_back('\0');
    for (int i = 7; i >= 0; --i)
        message.push_back(static_cast<char>((bitLength >> (8 * i)) & 0xff));

    for (size_t block = 0; block < message.size(); block += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            const auto* p = reinterpret_cast<const unsigned char*>(message.data() + block + 4 * i);
            w[i] = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
        }
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 =
                k + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            const uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            k = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
        h[4] += e;
        h[5] += f;
        h[6] += g;
        h[7] += k;
    }
    std::string hex;
    char buffer[9];
    for (uint32_t word : h) {
        std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(word));
        hex += buffer;
    }
    return hex;
}

bool IsAccessCode(std::string_view typed) {
    const std::string digest = Sha256Hex(typed);
    // Every character is compared, so the time taken tells nothing about a near miss.
    unsigned char difference = 0;
    for (size_t i = 0; i < kAccessCodeDigest.size(); ++i)
        difference |= static_cast<unsigned char>(digest[i] ^ kAccessCodeDigest[i]);
    return difference == 0;
}

bool IsRoomsCountText(std::string_view text) {
    return platform::Trim(text).empty() || platform::IsNonNegativeNumber(text);
}

std::string TypedDateDigits(std::string_view text) {
    std::string digits = platform::Trim(text);
    digits.erase(std::remove(digits.begin(), digits.end(), '/'), digits.end());
    if (digits.size() < 4 || digits.size() > 6)
        return "";
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return "";
    return digits;
}

void RecomputeDayTotals(const platform::DataFolder& folder, std::string_view dateText, float roomRent,
                        float grossRent, float tax, float cash) {
    records::DayTotals totals = records::ReadDayTotals(folder, dateText);
    totals.RoomRent = roomRent;
    totals.GrossRent = grossRent;
    totals.Tax = tax;
    totals.Cash = cash;
    records::WriteDayTotals(folder, dateText, totals);
}

void ClearDayCash(const platform::DataFolder& folder, std::string_view dateText) {
    records::DayTotals totals = records::ReadDayTotals(folder, dateText);
    totals.Cash = 0;
    records::WriteDayTotals(folder, dateText, totals);
}

void SetShiftCashFromRent(const platform::DataFolder& folder, std::string_view shift,
                          std::string_view dateText, double amount) {
    records::ShiftCash cash = records::ReadShiftCash(folder, shift, dateText);
    cash.CashFromRent = platform::Decimal::Of(amount).Rounded(2).ToSingle();
    records::WriteShiftCash(folder, shift, dateText, cash);
}

void SetRoomsRented(const platform::DataFolder& folder, std::string_view dateDigits, float rooms) {
    records::RoomsRentedRecord record = records::ReadRoomsRented(folder, dateDigits);
    record.RoomsRented = rooms;
    records::WriteRoomsRented(folder, dateDigits, record);
}

void PrintRepairTotalsPage(const platform::DataFolder& folder, platform::Printer& printer,
                           std::string_view dateText) {
    const records::DayTotals totals = records::ReadDayTotals(folder, dateText);
    const float rooms = records::ReadRoomsRented(folder, dateText).RoomsRented;
    // No rate is read: the repair copy prints the stored Tax only.
    printing::DailyTotalsPage page = printing::AuditDailyTotalsPage(totals, 0, 0, rooms, dateText);
    page.leadingBlankLine = false;
    page.taxBreakdown = false;
    printing::PrintDailyTotalsPage(printer, page);
}

} // namespace vantreth::audit
