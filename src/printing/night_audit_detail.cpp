// The night audit's room detail and day report pages.
#include "printing/night_audit_detail.h"

#include "platform/decimal.h"
#include "platform/text.h"
#include "records/filenames.h"
#include "records/move_log.h"
#include "records/reservation_made.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"

#include <string>
#include <vector>

namespace printing {

using platform::Printer;
using platform::PrintItems;
using records::DayFile;

namespace {

std::string Dashes(int n) {
    return std::string(static_cast<size_t>(n), '-');
}

void StartPage(Printer& printer, std::string_view title, std::string_view dateText) {
    printer.EndDoc();
    printer.FontSize(10);
    printer.Print();
    printer.Print(std::string(title) + std::string(dateText));
    printer.Print();
    printer.Print();
}

void EmptySection(Printer& printer, std::string_view line) {
    printer.Print();
    printer.Print();
    printer.Print(line);
}

bool DayFileExists(const platform::DataFolder& folder, DayFile file, std::string_view dateText) {
    return platform::FileExists(records::DayFilePath(folder, file, dateText));
}

// A flag file of one number; a missing flag counts as 0.
bool FlagSet(const platform::DataFolder& folder, std::string_view flagFile) {
    return records::ReadNumberFile(folder, flagFile).value_or(0) == 1;
}

} // namespace

void PrintRoomDetailPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    // A day without postings has no detail file.
    std::vector<records::DayDetailLine> lines;
    if (DayFileExists(folder, DayFile::Detail, dateText))
        lines = records::ReadDayDetail(folder, dateText);
    StartPage(printer, "            Individual Room Detail Transaction Report For ", dateText);
    printer.Print(Dashes(79));
    printer.Print("ROOM  SHIFT CLERK  DATE     CODE  DES.                AMOUNT");
    printer.Print(Dashes(79));
    for (const records::DayDetailLine& line : lines) {
        printer.Print(
            PrintItems()
                .Text(line.Room + "   " + line.Shift + "     " + line.Clerk + "     " + line.PostDate)
                .Tab(30)
                .Text(line.Code)
                .Tab(35)
                .Text(line.Description)
                .Tab(54)
                .Text(platform::StoredStr(line.Amount)));
        printer.Print(Dashes(79));
    }
    if (lines.empty()) {
        printer.Print();
        EmptySection(printer, "                            No detail report today");
    }
    printer.EndDoc();
}

void PrintRoomMovesPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    std::vector<records::MoveLogLine> lines;
    if (records::ReadMovedYes(folder) != 0 && DayFileExists(folder, DayFile::Move, dateText))
        lines = records::ReadMoveLog(folder, dateText);
    StartPage(printer, "               Guest Moved From Room to Room Report for ", dateText);
    printer.Print(Dashes(75));
    printer.Print("SHIFT  CLERK  OLD ROOM    NEW ROOM    TIME");
    printer.Print(Dashes(75));
    for (const records::MoveLogLine& line : lines) {
        printer.Print(line.Shift + "      " + line.Clerk + "     " + line.FromRoom + "         " +
                      line.ToRoom + "         " + line.TimeMovedText());
    }
    if (lines.empty())
        EmptySection(printer, "                             No Rooms Moved");
    printer.EndDoc();
    records::WriteMovedYes(folder, 0);
}

void PrintSleepersPage(const platform::DataFolder& folder, Printer& printer, std::string_view dateText) {
    const bool flagged = FlagSet(folder, records::kSleepersTodayFile);
    std::vector<std::string> lines;
    if (flagged && DayFileExists(folder, DayFile::Sleepers, dateText))
        lines = records::ReadSleeperLines(folder, dateText);
    StartPage(printer, "                          Possible Sleepers for ", dateText);
    printer.Print(Dashes(75));
    printer.Print();
    for (const std::string& line : lines)
        printer.Print(PrintItems().Tab(30).Text(line));
    if (lines.empty())
        EmptySection(printer, "                             No Sleepers Today");
    printer.EndDoc();
    // Reset only once the list has been printed, so a failed printout can be repeated.
    if (flagged)
        records::WriteSleepersToday(folder, 0);
}

void PrintReservationsMadePage(const platform::DataFolder& folder, Printer& printer,
                               std::string_view dateText) {
    const bool flagged = FlagSet(folder, records::kReservationsTodayYesFile);
    std::vector<records::ReservationMadeLine> lines;
    if (flagged && DayFileExists(folder, DayFile::ReservationsToday, dateText))
        lines = records::ReadReservationsMade(folder, dateText);
    StartPage(printer, "                         Reservations made on ", dateText);
    printer.Print("ROOM   LAST  FIRST                      ARRIVING          DEPARTING");
    printer.Print(Dashes(73));
    for (const records::ReservationMadeLine& line : lines) {
        printer.Print(PrintItems()
                          .Text(line.Room)
                          .Tab(8)
                          .Text(line.LastName + ", " + line.FirstName)
                          .Tab(41)
                          .Text(line.Arriving)
                          .Tab(59)
                          .Text(line.Departing));
    }
    if (lines.empty())
        EmptySection(printer, "                            No Reservations Today");
    printer.EndDoc();
    if (flagged)
        records::WriteNumberFile(folder, records::kReservationsTodayYesFile, 0);
}

void PrintNightAuditDetailReport(const platform::DataFolder& folder, Printer& printer,
                                 std::string_view dateText) {
    PrintRoomDetailPage(folder, printer, dateText);
    PrintRoomMovesPage(folder, printer, dateText);
    PrintSleepersPage(folder, printer, dateText);
    PrintReservationsMadePage(folder, printer, dateText);
}

} // namespace printing
