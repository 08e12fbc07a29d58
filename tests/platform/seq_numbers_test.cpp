// A Double written to a sequential file carries at most 15 significant digits, as it shows.
#include "platform/files.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(SeqNumbersTest, ADoubleIsWrittenWithAtMostFifteenDigits) {
    struct Case {
        double value;
        const char* written;
    };
    const Case cases[] = {
        {0.07 + 0.02, "0.09"},
        {0.07 + 0.0025, "0.0725"},
        {1.0 / 3, "0.333333333333333"},
        {39.95 * 1.1, "43.945"},
        {-2.5, "-2.5"},
        {100, "100"},
        {0, "0"},
        {123456789012345.0, "123456789012345"},
        {12345678901234567.0, "1.23456789012346e+16"},
        {1e-7, "1e-07"},
    };
    for (const Case& c : cases) {
        const std::string line = SeqLine().Number(c.value).str();
        EXPECT_EQ(line, c.written) << c.value;
        const std::vector<SeqItem> items = ParseSeqText(line + "\r\n");
        ASSERT_EQ(items.size(), 1u) << c.written;
        EXPECT_EQ(items[0].kind, SeqItem::Kind::Number) << c.written << " reads back as a number";
    }
}

} // namespace
} // namespace platform
