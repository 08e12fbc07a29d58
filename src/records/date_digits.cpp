// DateDigits: the suffix of every per-day file name.
#include "records/date_digits.h"

namespace records {

std::string DateDigits(std::string_view dateText) {
    std::string digits;
    digits.reserve(dateText.size());
    for (char c : dateText) {
        if (c != '/')
            digits += c;
    }
    return digits;
}

} // namespace records
