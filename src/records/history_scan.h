// The bytes of the history file as its searches see them, 64 bytes to a word: where the
// lines end, which commas and "#" signs lie outside quoted texts, and which bytes keep a
// line out of the form the program writes. A search reads a line of that form from these
// bits alone; any other line it splits item by item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace records {

// Bit i of a word stands for byte 64 * w + i of the bytes classified, w the word's index;
// bits past the last byte are clear.
struct HistoryWordClasses {
    uint64_t ends = 0;   // CR or LF: where a line stops
    uint64_t commas = 0; // commas between items (outside quoted texts)
    uint64_t hashes = 0; // "#" signs outside quoted texts
    // What keeps the line out of the written form: a NUL byte, a quote that opens a text
    // anywhere but at an item's start or closes one anywhere but at its end (the last byte
    // given counts as followed by something else), and the end of a line whose text is
    // left open (the next line starts outside a text).
    uint64_t flaws = 0;
    uint64_t commasBefore = 0; // the commas of the words before this one
    friend bool operator==(const HistoryWordClasses&, const HistoryWordClasses&) = default;
};
using HistoryByteClasses = std::vector<HistoryWordClasses>;

// How the bytes are looked at: one at a time, 32 or 64 at a time (where the machine can),
// or as many at a time as the machine can.
enum class ClassifyWidth { Bytewise, Avx2, Avx512, Widest };
bool MachineCanClassify(ClassifyWidth width);

// The number of set bits, without a call into the compiler's library on machines where
// std::popcount would make one.
inline int CountBits(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

// The classes of `bytes`, the first of which starts a line.
void ClassifyHistoryBytes(std::string_view bytes, HistoryByteClasses& classes,
                          ClassifyWidth width = ClassifyWidth::Widest);

} // namespace records
