// Every check that a typed amount is a number refuses one that a Single cannot hold: 40
// digits would be stored as infinity in a balance, the shift's cash and the day's cash.
#include "audit/cash_entries.h"
#include "directbill/direct_bill_accounts.h"
#include "folio/folio_postings.h"

#include <gtest/gtest.h>

#include <string>

namespace vantreth {
namespace {

TEST(AmountTextTest, AnAmountASingleCannotHoldIsNotANumber) {
    const std::string forty = "1234567890123456789012345678901234567890";
    struct Case {
        std::string text;
        bool number;
    };
    const Case cases[] = {
        {forty, false},         {"-" + forty, false},
        {forty + ".50", false}, {"340282350000000000000000000000000000000", false},
        {"12.50", true},        {"-12.50", true},
        {"99999999999", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAmountText(c.text), c.number) << "folio posting \"" << c.text << "\"";
        EXPECT_EQ(IsEntryAmountText(c.text), c.number) << "cash entry \"" << c.text << "\"";
        EXPECT_EQ(directbill::IsAmountText(c.text), c.number) << "direct bill \"" << c.text << "\"";
    }
}

} // namespace
} // namespace vantreth
