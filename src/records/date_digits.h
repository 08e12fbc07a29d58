// DateDigits: the suffix of every per-day file name.
#pragma once

#include <string>
#include <string_view>

namespace records {

// The date text with every "/" removed: "12/6/26" gives "12626". Note that 1/11/26 and
// 11/1/26 both give "11126" and so share their per-day files.
std::string DateDigits(std::string_view dateText);

} // namespace records
