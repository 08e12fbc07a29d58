// The day's list of reservations made.
#include "records/reservation_made.h"

#include "records/filenames.h"

namespace records {

platform::SeqLine ReservationMadeLine::ToSeqLine() const {
    platform::SeqLine line;
    line.Text(Room).Text(LastName).Text(FirstName).Text(Arriving).Text(Departing);
    return line;
}

void AppendReservationMadeLine(const platform::DataFolder& folder, std::string_view dateText,
                               const ReservationMadeLine& line) {
    platform::AppendLine(DayFilePath(folder, DayFile::ReservationsToday, dateText), line.ToSeqLine());
}

std::vector<ReservationMadeLine> ReadReservationsMade(const platform::DataFolder& folder,
                                                      std::string_view dateText) {
    platform::SeqReader reader(DayFilePath(folder, DayFile::ReservationsToday, dateText));
    std::vector<ReservationMadeLine> lines;
    reader.ForEachLine(5, [&] {
        ReservationMadeLine line;
        line.Room = reader.ReadText();
        line.LastName = reader.ReadText();
        line.FirstName = reader.ReadText();
        line.Arriving = reader.ReadText();
        line.Departing = reader.ReadText();
        lines.push_back(std::move(line));
    });
    return lines;
}

} // namespace records
