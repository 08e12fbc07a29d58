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

StayPosting Cash(float amount) {
    return {.Room = "12 ",
            .Shift = "B",
            .PostDate = "12/6/26",
            .Code = "L",
            .Description = "CASH REC.",
            .Amount = amount,
            .Clerk = "JD"};
}

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
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.to));
        const std::filesystem::path ledger = folder().root() / "dailycharge/dailycharge12 SMITHJOHN12626";
        const std::filesystem::path detail = folder().root() / "detail/12626";
        std::filesystem::remove(ledger);
        std::filesystem::remove(detail);
        PostToStay(folder(), ledger, Cash(20), c.to);
        EXPECT_EQ(platform::FileExists(ledger), c.ledger);
        EXPECT_EQ(platform::FileExists(detail), c.detail);
        if (c.ledger) {
            EXPECT_EQ(ReadRaw(ledger),
                      "\"12 \",\"B\",\"12/6/26\",\"L\",\"CASH REC.\",20,0,\"-----\",\"-----\",\"-----\"\r\n");
        }
        if (c.detail) {
            EXPECT_EQ(ReadRaw(detail),
                      "\"12 \",\"B\",\"12/6/26\",\"L\",\"CASH REC.\",20,\"JD\",\"-----\",\"-----\",\"-----\","
                      "\"-----\"\r\n");
        }
    }
}

// The two lines carry the same posting; the ledger line alone its tax items, the detail
// line alone the clerk; the detail goes to the day file of the posting's date.
TEST_F(StayPostingTest, BothLinesCarryThePostingAndReadBack) {
    const std::filesystem::path ledger = folder().root() / "dailycharge/dailycharge101SMITHJOHN12726";
    StayPosting rent{.Room = "101",
                     .Shift = "C",
                     .PostDate = "12/7/26",
                     .Code = "E",
                     .Description = "ROOM RENT",
                     .Amount = 49.99f,
                     .Clerk = "NB",
                     .TaxValue = 0.08f,
                     .TaxFlag = "N"};
    StayPosting phone = rent;
    phone.Code = "G";
    phone.Description = "PHONE CHARGE LOCAL";
    phone.Amount = 0.35f;
    phone.TaxValue = 0;
    phone.TaxFlag = "";
    PostToStay(folder(), ledger, rent);
    PostToStay(folder(), ledger, phone);

    const std::vector<StayLedgerLine> lines = ReadStayLedger(ledger);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (StayLedgerLine{"101", "C", "12/7/26", "E", "ROOM RENT", 49.99f, 0.08f, "N"}));
    EXPECT_EQ(lines[1], (StayLedgerLine{"101", "C", "12/7/26", "G", "PHONE CHARGE LOCAL", 0.35f, 0, ""}));
    EXPECT_EQ(ReadDayDetail(folder(), "12/7/26"),
              (std::vector<DayDetailLine>{{"101", "C", "12/7/26", "E", "ROOM RENT", 49.99f, "NB"},
                                          {"101", "C", "12/7/26", "G", "PHONE CHARGE LOCAL", 0.35f, "NB"}}));
    EXPECT_FALSE(platform::FileExists(folder().root() / "detail/12626")) << "no other day is written";
}

} // namespace
} // namespace records
