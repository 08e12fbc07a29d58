// The table of posting and pay codes and its look-ups.
#include "records/posting_codes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace records {
namespace {

TEST(PostingCodesTest, EachCodeIsAChargeAPaymentOrDirectBill) {
    struct Case {
        const char* code;
        bool posting, payCode, card;
        int sign;
        const char* cardText;
    };
    const Case cases[] = {
        {"E", true, false, false, 1, ""},
        {"J", true, false, false, 1, ""},
        {"G", true, false, false, 1, ""},
        {"L", true, true, false, -1, ""},
        {"N", true, true, true, -1, "VISA/MASTER"},
        {"M", true, true, true, -1, "AMERICAN EX."},
        {"P", true, true, true, -1, "DISCOVER"},
        {"O", true, true, true, -1, "DINERS"},
        {"Q", false, true, false, 0, ""},
        // No codes: lower case, blank, padded, two letters, a letter of no code.
        {"e", false, false, false, 0, ""},
        {"", false, false, false, 0, ""},
        {"N ", false, false, false, 0, ""},
        {"EL", false, false, false, 0, ""},
        {"X", false, false, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("code \"") + c.code + "\"");
        EXPECT_EQ(IsPostingCode(c.code), c.posting);
        EXPECT_EQ(IsPayCode(c.code), c.payCode);
        EXPECT_EQ(IsCardCode(c.code), c.card);
        EXPECT_EQ(BalanceSign(c.code), c.sign);
        EXPECT_EQ(CardText(c.code), c.cardText);
        EXPECT_EQ(FindPostingCode(c.code) != nullptr, c.posting || c.payCode);
    }
}

TEST(PostingCodesTest, TheFolioListsThePostingCodesWithTheirLegend) {
    std::vector<std::string> legend;
    for (const PostingCode& row : kPostingCodes)
        if (row.IsPosting())
            legend.push_back(std::string(row.code) + "=" + std::string(row.name));
    const std::vector<std::string> expected = {"E=Room Rent", "J=Pet or Other", "G=Phone Charge",
                                               "L=Cash",      "N=Visa/Master",  "M=American Ex.",
                                               "P=Discover",  "O=Diners"};
    EXPECT_EQ(legend, expected);
}

TEST(PostingCodesTest, ThePaymentListNamesEachPayCodeOnce) {
    struct Case {
        const char* item;
        const char* code; // "" = no entry
    };
    const Case cases[] = {
        {"CASH or CHECK", "L"}, {"VISA/MASTER", "N"},   {"AMERICAN EX.", "M"},
        {"DISCOVER", "P"},      {"DINERS", "O"},        {"DIRECT BILL", "Q"},
        {"cash or check", ""},  {"choose payment", ""}, {"", ""},
        {"CASH REC.", ""},      {"VISA/MASTER ", ""},
    };
    for (const Case& c : cases) {
        const PostingCode* row = FindPaymentItem(c.item);
        EXPECT_EQ(row != nullptr ? std::string(row->code) : "", c.code) << "item \"" << c.item << "\"";
    }
    int payCodes = 0;
    for (const PostingCode& row : kPostingCodes)
        payCodes += row.IsPayCode() ? 1 : 0;
    EXPECT_EQ(payCodes, 6) << "every pay code has its entry, and nothing else has one";
}

TEST(PostingCodesTest, TheCodesTheProgramPostsByItselfCarryTheirTexts) {
    EXPECT_EQ(kRoomRent.code, "E");
    EXPECT_EQ(kRoomRent.text, "ROOM RENT");
    EXPECT_EQ(kRoomRent.column, DayTotalsField::RoomRent);
    EXPECT_EQ(kPetOther.code, "J");
    EXPECT_EQ(kPhoneCharge.code, "G");
    EXPECT_EQ(kPhoneCharge.column, DayTotalsField::PhoneCharges);
    EXPECT_EQ(kCash.code, "L");
    EXPECT_EQ(kCash.text, "CASH REC.");
    EXPECT_EQ(kDirectBill.code, "Q");
    EXPECT_EQ(kDirectBill.column, std::nullopt) << "direct bill adds to no day total";
    for (const PostingCode& row : kPostingCodes)
        EXPECT_EQ(row.shiftCash, row.code == "L") << "only cash goes to the shift's cash: " << row.code;
}

} // namespace
} // namespace records
