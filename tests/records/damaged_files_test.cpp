// Every reader of a day or stay file reads a damaged file line by line: a bad line in the
// middle and a last line cut short cost only themselves, and the damage is reported.
#include "records/call_record.h"
#include "records/direct_bill.h"
#include "records/direct_bill_files.h"
#include "records/filenames.h"
#include "records/move_log.h"
#include "records/reservation_made.h"
#include "records/settings_files.h"
#include "records/stay_ledger.h"
#include "records_fixture.h"

#include <functional>
#include <string>

namespace records {
namespace {

using DamagedFilesTest = testing::RecordsTest;

TEST_F(DamagedFilesTest, EveryLineReaderSkipsBadLinesAndKeepsTheRest) {
    const std::string day = "12/6/26";
    const platform::DataFolder& data = folder();
    auto lineOf = [](const platform::SeqLine& line) { return line.str() + "\r\n"; };
    struct Case {
        const char* reader;
        platform::FilePath file;
        std::string good; // one sound line
        std::function<size_t()> read;
    };
    const Case cases[] = {
        {"stay ledger", At("dailycharge/dailycharge101SMITHJOHN12626"), lineOf(StayLedgerLine{}.ToSeqLine()),
         [&] { return ReadStayLedger(At("dailycharge/dailycharge101SMITHJOHN12626")).size(); }},
        {"day detail", DayFilePath(data, DayFile::Detail, day), lineOf(DayDetailLine{}.ToSeqLine()),
         [&] { return ReadDayDetail(data, day).size(); }},
        {"shift rentals", ShiftFilePath(data, ShiftFile::ShiftRentals, "A", day),
         lineOf(ShiftRentalLine{}.ToSeqLine()), [&] { return ReadShiftRentals(data, "A", day).size(); }},
        {"move log", DayFilePath(data, DayFile::Move, day), lineOf(MoveLogLine{}.ToSeqLine()),
         [&] { return ReadMoveLog(data, day).size(); }},
        {"direct-bill log", DayFilePath(data, DayFile::DbDaily, day), lineOf(DbDailyLine{}.ToSeqLine()),
         [&] { return ReadDbDaily(data, day).size(); }},
        {"payments on account", DayFilePath(data, DayFile::DbPayments, day),
         lineOf(DbPaymentLine{}.ToSeqLine()), [&] { return ReadDbPayments(data, day).size(); }},
        {"reservations made", DayFilePath(data, DayFile::ReservationsToday, day),
         lineOf(ReservationMadeLine{}.ToSeqLine()), [&] { return ReadReservationsMade(data, day).size(); }},
        {"guests due out", DayFilePath(data, DayFile::Sleepers, day), "\"12   SMITH, JOHN\"\r\n",
         [&] { return ReadSleeperLines(data, day).size(); }},
        {"phone log", DayFilePath(data, DayFile::PhoneLog, day), "\"a call\"\r\n",
         [&] { return ReadPhoneLog(data, day).size(); }},
    };
    TakeDamageReports();
    for (const Case& c : cases) {
        // Sound, unterminated quote, sound, a line of two items (no reader's count), sound,
        // and a last line cut in half.
        WriteRaw(c.file, c.good + "\"cut\r\n" + c.good + "\"x\",\"y\"\r\n" + c.good +
                             c.good.substr(0, c.good.size() / 2));
        size_t read = 0;
        EXPECT_NO_THROW(read = c.read()) << c.reader;
        EXPECT_EQ(read, 3u) << c.reader;
        const std::vector<std::string> reports = TakeDamageReports();
        ASSERT_EQ(reports.size(), 1u) << c.reader;
        for (const char* line : {"line 2:", "line 4:", "line 6:"})
            EXPECT_NE(reports[0].find(line), std::string::npos) << c.reader << ": " << reports[0];
    }
}

} // namespace
} // namespace records
