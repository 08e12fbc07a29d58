// Small helpers shared by the record formats: reading text fields out of a record image
// and padding a short read to the full record length.
#pragma once

#include "platform/files.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace records::fields {

// A text field as stored. Zero bytes (a record past the end of its file, or a field no
// writer ever filled) read as blanks, so a text field never holds a zero byte.
inline std::string Text(const platform::RecordBuffer &buffer, size_t offset, size_t width) {
    std::string text = buffer.Text(offset, width);
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

// The bytes of a record image, zero-filled up to `length` when shorter.
inline std::string Padded(std::string_view bytes, size_t length) {
    std::string image(bytes.substr(0, std::min(bytes.size(), length)));
    image.resize(length, '\0');
    return image;
}

} // namespace records::fields
