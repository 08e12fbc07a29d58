// Builds the records the call box sends, for the call accounting tests.
#pragma once

#include "support/builders.h"

#include "platform/text.h"
#include "records/call_record.h"
#include "records/filenames.h"
#include "records/guest_record.h"

#include <gtest/gtest.h>

#include <string>

namespace vantreth::testing {

// A 58-character record. The columns the system never reads hold lower-case letters, so
// a field cut one column off shows them.
inline records::CallRecord Call(const std::string& extension, const std::string& amount,
                                const std::string& time = "15:42", const std::string& number = "555-123-4567",
                                const std::string& date = "12/06") {
    records::CallRecord call{"abcdefghij" + date + "k" + extension + "lm" + time + "nopqrst" + amount + "u" +
                             number + "vwxyz"};
    EXPECT_EQ(call.text.size(), records::CallRecord::kLength) << call.text;
    return call;
}

} // namespace vantreth::testing
