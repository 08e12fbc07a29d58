// Test failures show a platform::Decimal as its text.
#pragma once

#include "platform/decimal.h"

#include <ostream>

namespace platform {

inline void PrintTo(const Decimal& value, std::ostream* out) {
    *out << value.Text();
}

} // namespace platform
