// The confirmation number counter and the reservations-made flag.
#include "records/reservation_files.h"

#include "platform/text.h"
#include "records/filenames.h"
#include "records/settings_files.h"

namespace records {

std::optional<double> ReadConfirmationCounter(const platform::DataFolder& folder) {
    return ReadNumberFile(folder, kConfirmationNumberFile);
}

void WriteConfirmationCounter(const platform::DataFolder& folder, double next) {
    WriteNumberFile(folder, kConfirmationNumberFile, next);
}

double IssueConfirmationNumber(const platform::DataFolder& folder) {
    const double number = ReadConfirmationCounter(folder).value_or(1);
    WriteConfirmationCounter(folder, number + 1);
    return number;
}

ReservationMadeLine MadeLineOf(const GuestRecord& reservation) {
    return {.Room = reservation.Room,
            .LastName = platform::RTrim(reservation.LastName),
            .FirstName = platform::RTrim(reservation.FirstName),
            .Arriving = platform::RTrim(reservation.ArrivalDate),
            .Departing = platform::RTrim(reservation.DepartureDate)};
}

void MarkReservationsMadeToday(const platform::DataFolder& folder) {
    WriteNumberFile(folder, kReservationsTodayYesFile, 1);
}

std::optional<double> ReadReservationsTodayFlag(const platform::DataFolder& folder) {
    return ReadNumberFile(folder, kReservationsTodayYesFile);
}

} // namespace records
