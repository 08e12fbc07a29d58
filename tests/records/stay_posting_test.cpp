// One posting of a stay: its ledger line and its day detail line, written by one writer.
#include "platform/files.h"
#include "records/stay_ledger.h"
#include "records_fixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace records {
namespace {

using StayPostingTest = testing::RecordsTest;

TEST_F(StayPostingTest, APostingGoesWhereItIsSent) {
    struct Case {
        PostTo to;
        bool ledger, detail;
    };
    const Case cases[] = {
        {PostTo::LedgerAndDetail, true, true},
        {PostTo::LedgerOnly, true, false},
        {PostTo::DetailOnly, false, true},
    };
    const StayLedgerLine cash{"12 ", "B", "12/6/26", "L", "CASH REC.", 20};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.to));
        const platform::FilePath ledger = At("dailycharge/dailycharge12 SMITHJOHN12626");
        const platform::FilePath detail = At("detail/12626");
        platform::DeleteFile(ledger);
        platform::DeleteFile(detail);
        PostToStay(folder(), ledger, cash, "JD", c.to);
        EXPECT_EQ(platform::FileExists(ledger), c.ledger);
        EXPECT_EQ(platform::FileExists(detail), c.detail);
        if (c.ledger) {
            EXPECT_EQ(ReadRaw(ledger),
                      "\"12 \",\"B\",\"12/6/26\",\"L\",\"CASH REC.\",20,0,\"-----\",\"-----\",\"-----\"\r\n");
        }
        if (c.detail) {
            EXPECT_EQ(ReadRaw(detail),
                      "\"12 \",\"B\",\"12/6/26\",\"L\",\"CASH REC.\",20,\"JD\",\"-----\",\"-----\","
                      "\"-----\",\"-----\"\r\n");
        }
    }
}

// The detail line carries the ledger line's posting, without its tax items, with the clerk;
// it goes to the day file of the line's date.
TEST_F(StayPostingTest, TheDetailLineCarriesTheLedgerLinesPosting) {
    const platform::FilePath ledger = At("dailycharge/dailycharge101SMITHJOHN12726");
    const std::vector<StayLedgerLine> lines = {
        {"101", "C", "12/7/26", "E", "ROOM RENT", 49.99f, 0.08f, "N"},
        {"101", "A", "12/7/26", "G", "PHONE CHARGE LOCAL", 0.35f, 0, ""},
    };
    for (const StayLedgerLine& line : lines)
        PostToStay(folder(), ledger, line, "NB");
    EXPECT_EQ(ReadStayLedger(ledger), lines);
    EXPECT_EQ(ReadDayDetail(folder(), "12/7/26"),
              (std::vector<DayDetailLine>{{"101", "C", "12/7/26", "E", "ROOM RENT", 49.99f, "NB"},
                                          {"101", "A", "12/7/26", "G", "PHONE CHARGE LOCAL", 0.35f, "NB"}}));
    EXPECT_FALSE(platform::FileExists(At("detail/12626"))) << "no other day is written";
}

} // namespace
} // namespace records
