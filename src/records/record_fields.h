// Small helpers shared by the record formats: reading text fields out of a record image,
// padding a short read to the full record length, and keeping the stored bytes of the
// fields a rewrite leaves alone.
#pragma once

#include "platform/files.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace records::fields {

// A text field as stored. Zero bytes (a record past the end of its file, or a field no
// writer ever filled) read as blanks, so a text field never holds a zero byte.
inline std::string Text(const platform::RecordBuffer& buffer, size_t offset, size_t width) {
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

// The image a rewrite puts back: `fresh`, the record as the writer encoded it, except that
// every text field (any range of objects with `offset` and `width`) that reads the same in
// `stored` keeps the stored bytes. Readers see a zero byte as a blank, so a field the writer
// left alone would otherwise come back with blanks for its zero bytes; this way a rewrite
// changes no byte of a field it does not change. A changed field is written as encoded.
template <class TextFields>
std::string KeepUnchangedText(std::string fresh, std::string_view stored, const TextFields& textFields) {
    auto asRead = [](std::string_view bytes) {
        std::string text(bytes);
        std::replace(text.begin(), text.end(), '\0', ' ');
        return text;
    };
    for (const auto& field : textFields) {
        const size_t end = field.offset + field.width;
        if (end > stored.size() || end > fresh.size())
            continue;
        const std::string_view before = stored.substr(field.offset, field.width);
        if (asRead(before) == asRead(std::string_view(fresh).substr(field.offset, field.width)))
            fresh.replace(field.offset, field.width, before);
    }
    return fresh;
}

} // namespace records::fields
