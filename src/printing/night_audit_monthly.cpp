// The monthly totals report pages.
#include "printing/night_audit_monthly.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "printing/guest_listing_report.h"
#include "printing/night_audit_totals.h"
#include "records/counters.h"
#include "records/day_totals.h"
#include "records/filenames.h"
#include "records/settings_files.h"

namespace printing {

using platform::Printer;
using platform::PrintItems;

namespace {

const std::string kRule(81, '-');

std::string RoundedText(const platform::Decimal& sum) {
    return platform::AmountStr(sum.Rounded(2));
}

// A day's totals file that holds no amount at all is removed. A day with any amount keeps
// its file, so no later report loses it.
void DropIfEmpty(const platform::DataFolder& folder, const MonthDay& day, const records::DayTotals& totals,
                 EmptyTotalsFiles emptyFiles) {
    if (emptyFiles != EmptyTotalsFiles::Delete)
        return;
    for (int f = 0; f <= static_cast<int>(records::DayTotalsField::Diners); ++f)
        if (totals.Amount(static_cast<records::DayTotalsField>(f)) != 0)
            return;
    platform::DeleteFile(records::DayFilePath(folder, records::DayFile::Totals, day.digits));
}

void PrintMonthTitle(Printer& printer, std::string_view monthName) {
    printer.Print("                 Monthly Totals Report for the month of " + std::string(monthName));
    printer.Print();
    printer.Print();
}

} // namespace

std::string MonthName(int month) {
    static const char* const kNames[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

std::string MonthNameOfDateText(std::string_view dateText) {
    std::string number = platform::Left(dateText, 2);
    if (platform::Mid(number, 2, 1) == "/")
        number = platform::Left(number, 1);
    if (!platform::IsNonNegativeNumber(number))
        return "";
    const double month = platform::Val(number);
    return month == static_cast<int>(month) ? MonthName(static_cast<int>(month)) : "";
}

std::vector<MonthDay> AuditMonthDays(const platform::Date& businessDate) {
    const platform::Date last = platform::AddDays(businessDate, -1);
    std::vector<MonthDay> days;
    for (int d = 1; d <= last.day; ++d) {
        const platform::Date date{last.year, last.month, d};
        days.push_back({platform::DateText(date), platform::DateDigitsOf(date)});
    }
    return days;
}

std::vector<MonthDay> MonthDaySlots(std::string_view month, std::string_view year) {
    const std::string m = platform::Trim(month);
    const std::string yy = platform::Right(year, 2);
    std::vector<MonthDay> days;
    for (int d = 1; d <= 31; ++d) {
        const std::string day = std::to_string(d);
        days.push_back({m + "/" + day + "/" + yy, m + day + yy});
    }
    return days;
}

namespace {

// The averages are taken from quotients far finer than a cent: a quotient that does not end
// (100 / 3) is off by less than 10^-24, far too little to move the mean across a half cent
// unless the mean is a half cent itself, which the rounding to kExactDigits then restores.
constexpr int kAverageDigits = 24;
constexpr int kExactDigits = 18;

// A day's average rent: its RoomRent over its rooms rented (a whole number of rooms).
platform::Decimal DayAverageRent(float roomRent, float rooms) {
    const long count = static_cast<long>(rooms);
    if (static_cast<float>(count) != rooms) // not a whole count: the Singles' quotient
        return platform::Decimal::Of(static_cast<double>(roomRent) / rooms).Rounded(kAverageDigits);
    return platform::Decimal::Of(roomRent).DividedBy(count, kAverageDigits);
}

// The mean of `count` figures summing to `sum`, rounded once to the cent (half to even).
platform::Decimal MeanToTheCent(const platform::Decimal& sum, long count) {
    return sum.DividedBy(count, kAverageDigits).Rounded(kExactDigits).Rounded(2);
}

} // namespace

MonthlyRentSums PrintMonthlyTotalsPage(const platform::DataFolder& folder, Printer& printer,
                                       std::string_view monthName, const std::vector<MonthDay>& days,
                                       bool leadingBlankLine, EmptyTotalsFiles emptyFiles) {
    printer.EndDoc();
    printer.FontSize(10);
    if (leadingBlankLine)
        printer.Print();
    PrintMonthTitle(printer, monthName);
    printer.Print("DATE     RENT      GRENT     TAX      CASH     PET/OTHER   PHONE    ROOMS");
    printer.Print(kRule);
    MonthlyRentSums sums;
    for (const MonthDay& day : days) {
        const float rooms = records::ReadRoomsRented(folder, day.digits).RoomsRented;
        const records::DayTotals t = records::ReadDayTotals(folder, day.digits);
        if (t.RoomRent != 0 && t.GrossRent != 0) {
            printer.Print(PrintItems()
                              .Text(day.dateText)
                              .Tab(9)
                              .Text(platform::StoredStr(t.RoomRent))
                              .Tab(19)
                              .Text(platform::StoredStr(t.GrossRent))
                              .Tab(29)
                              .Text(platform::StoredStr(t.Tax))
                              .Tab(38)
                              .Text(platform::StoredStr(t.Cash))
                              .Tab(47)
                              .Text(platform::StoredStr(t.PetOther))
                              .Tab(59)
                              .Text(platform::StoredStr(t.PhoneCharges))
                              .Tab(69)
                              .Text(platform::Str(rooms)));
            printer.Print(kRule);
        }
        if (t.RoomRent != 0 && rooms != 0) {
            sums.averageRentSum += DayAverageRent(t.RoomRent, rooms);
            ++sums.countedDays;
        }
        if (rooms == 0)
            sums.averageRentSum += platform::Decimal::Of(t.RoomRent);
        sums.roomRent += platform::Decimal::Of(t.RoomRent);
        sums.grossRent += platform::Decimal::Of(t.GrossRent);
        sums.tax += platform::Decimal::Of(t.Tax);
        sums.cash += platform::Decimal::Of(t.Cash);
        sums.petOther += platform::Decimal::Of(t.PetOther);
        sums.phone += platform::Decimal::Of(t.PhoneCharges);
        sums.roomsRented += rooms;
        DropIfEmpty(folder, day, t, emptyFiles);
    }
    printer.Print();
    printer.Print(PrintItems()
                      .Text("TOTALS")
                      .Tab(9)
                      .Text(RoundedText(sums.roomRent))
                      .Tab(19)
                      .Text(RoundedText(sums.grossRent))
                      .Tab(29)
                      .Text(RoundedText(sums.tax))
                      .Tab(38)
                      .Text(RoundedText(sums.cash))
                      .Tab(47)
                      .Text(RoundedText(sums.petOther))
                      .Tab(59)
                      .Text(RoundedText(sums.phone))
                      .Tab(69)
                      .Text(platform::Str(sums.roomsRented)));
    printer.EndDoc();
    return sums;
}

MonthlyCardSums PrintMonthlyCardPage(const platform::DataFolder& folder, Printer& printer,
                                     std::string_view monthName, const std::vector<MonthDay>& days,
                                     EmptyTotalsFiles emptyFiles) {
    printer.EndDoc();
    printer.FontSize(10);
    PrintMonthTitle(printer, monthName);
    printer.Print("DATE     VISA/MASTER     AMERICAN EX.     DISCOVER      DINERS");
    printer.Print(kRule);
    MonthlyCardSums sums;
    for (const MonthDay& day : days) {
        const records::DayTotals t = records::ReadDayTotals(folder, day.digits);
        if (t.RoomRent != 0 && t.GrossRent != 0) {
            printer.Print(PrintItems()
                              .Text(day.dateText)
                              .Tab(9)
                              .Text(platform::StoredStr(t.VisaMaster))
                              .Tab(25)
                              .Text(platform::StoredStr(t.AmericanExpress))
                              .Tab(42)
                              .Text(platform::StoredStr(t.Discover))
                              .Tab(56)
                              .Text(platform::StoredStr(t.Diners)));
            printer.Print(kRule);
        }
        sums.visaMaster += platform::Decimal::Of(t.VisaMaster);
        sums.americanExpress += platform::Decimal::Of(t.AmericanExpress);
        sums.discover += platform::Decimal::Of(t.Discover);
        sums.diners += platform::Decimal::Of(t.Diners);
        DropIfEmpty(folder, day, t, emptyFiles);
    }
    printer.Print();
    printer.Print(PrintItems()
                      .Text("TOTALS")
                      .Tab(9)
                      .Text(platform::AmountStr(sums.visaMaster))
                      .Tab(25)
                      .Text(platform::AmountStr(sums.americanExpress))
                      .Tab(42)
                      .Text(platform::AmountStr(sums.discover))
                      .Tab(56)
                      .Text(platform::AmountStr(sums.diners)));
    printer.EndDoc();
    return sums;
}

MonthlyContinuedValues AuditContinuedValues(const MonthlyRentSums& sums, float cityTaxRate,
                                            float stateTaxRate) {
    // A month without a counted day has no average: 0 rather than a division by zero.
    platform::Decimal averageRent;
    double averageRooms = 0;
    if (sums.countedDays != 0) {
        averageRent = MeanToTheCent(sums.averageRentSum, sums.countedDays);
        averageRooms = platform::Round(sums.roomsRented / static_cast<float>(sums.countedDays), 2);
    }
    const platform::Decimal rentSum = sums.roomRent.Rounded(2);
    MonthlyContinuedValues values;
    values.averageRent = platform::AmountStr(averageRent) + " ";
    values.averageRooms = platform::Str(averageRooms) + " ";
    values.cityTax = platform::AmountStr(TaxOnRoomRent(cityTaxRate, rentSum)) + " ";
    values.stateTax = platform::AmountStr(TaxOnRoomRent(stateTaxRate, rentSum)) + " ";
    return values;
}

void PrintMonthlyContinuedPage(Printer& printer, std::string_view monthName,
                               const MonthlyContinuedValues& values) {
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print("            Monthly Totals Report for the month of " + std::string(monthName) +
                  " (continued)");
    printer.Print();
    printer.Print(kRule);
    printer.Print();
    printer.Print();
    printer.Print(PrintItems().Tab(25).Text("Average Rent ..... " + values.averageRent));
    printer.Print();
    printer.Print(PrintItems().Tab(25).Text("Average Rooms .... " + values.averageRooms));
    printer.Print();
    printer.Print();
    printer.Print(PrintItems().Tab(25).Text("City Tax ......... " + values.cityTax));
    printer.Print();
    printer.Print(PrintItems().Tab(25).Text("State TAx ........ " + values.stateTax));
    printer.EndDoc();
}

void PrintAuditMonthlyTotals(const platform::DataFolder& folder, Printer& printer,
                             const platform::Date& businessDate) {
    const std::vector<MonthDay> days = AuditMonthDays(businessDate);
    const std::string monthName =
        MonthNameOfDateText(platform::DateText(platform::AddDays(businessDate, -1)));
    const MonthlyRentSums sums =
        PrintMonthlyTotalsPage(folder, printer, monthName, days, false, EmptyTotalsFiles::Delete);
    PrintMonthlyCardPage(folder, printer, monthName, days, EmptyTotalsFiles::Delete);
    const float cityRate = records::ReadCityTax(folder);
    const float stateRate = records::ReadStateTax(folder);
    PrintMonthlyContinuedPage(printer, monthName, AuditContinuedValues(sums, cityRate, stateRate));
}

void PrintMonthlyTotalsForMonth(const platform::DataFolder& folder, Printer& printer, std::string_view month,
                                std::string_view year) {
    const std::string monthName = MonthNameOfDateText(platform::Trim(month) + "/");
    const MonthlyRentSums sums = PrintMonthlyTotalsPage(
        folder, printer, monthName, MonthDaySlots(month, year), true, EmptyTotalsFiles::Keep);
    const float cityRate = records::ReadCityTax(folder);
    const float stateRate = records::ReadStateTax(folder);
    PrintMonthlyContinuedPage(printer, monthName, AuditContinuedValues(sums, cityRate, stateRate));
}

bool PrintNightAuditGuestListing(const platform::DataFolder& folder, Printer& printer,
                                 const platform::Date& businessDate, std::string_view monthBefore,
                                 std::string_view monthAfter) {
    PrintGuestListingReport(printer, folder, platform::DateText(businessDate), GuestListingStart::Title);
    if (monthBefore == monthAfter)
        return false;
    PrintAuditMonthlyTotals(folder, printer, businessDate);
    return true;
}

} // namespace printing
