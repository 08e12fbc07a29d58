// The byte classes the history searches read lines from.
#include "records/history_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace records {
namespace {

HistoryByteClasses Classified(const std::string& text, ClassifyWidth width) {
    HistoryByteClasses classes;
    ClassifyHistoryBytes(text, classes, width);
    return classes;
}

// The bits of one class over the whole text, as a string of '1' and '.', byte by byte.
std::string Bits(const HistoryByteClasses& classes, uint64_t HistoryWordClasses::*member, size_t size) {
    std::string bits;
    for (size_t i = 0; i < size; ++i)
        bits += (classes[i / 64].*member >> (i % 64) & 1) != 0 ? '1' : '.';
    return bits;
}

TEST(HistoryByteClassesTest, CommasHashesAndFlawsOfLinesAcrossWordEdges) {
    struct Case {
        std::string line; // after a first line that ends 4 bytes before the first word's edge
        std::string commas, hashes, flaws;
    };
    const Case cases[] = {
        {"\"a,#\",#1#\r\n", ".....1.....", "......1.1..", "..........."},
        // a quote inside a bare item, text after a closing quote, a text left open to the end
        {"1\"2,\"a\"b\r\n", "..........", "..........", ".1..1.1.1."},
        {std::string("a\0,b\r\n", 6), "..1...", "......", ".1...."},
        // the line after the one left open starts outside a text
        {"\"a,b\r\n\"c\",d", ".........1.", "...........", "....1......"},
    };
    const std::string first = std::string(58, 'x') + "\r\n";
    for (const Case& c : cases) {
        const std::string text = first + c.line;
        const HistoryByteClasses classes = Classified(text, ClassifyWidth::Bytewise);
        EXPECT_EQ(Bits(classes, &HistoryWordClasses::commas, text.size()).substr(60), c.commas) << c.line;
        EXPECT_EQ(Bits(classes, &HistoryWordClasses::hashes, text.size()).substr(60), c.hashes) << c.line;
        EXPECT_EQ(Bits(classes, &HistoryWordClasses::flaws, text.size()).substr(60), c.flaws) << c.line;
    }
}

TEST(HistoryByteClassesTest, EveryWidthTheMachineHasClassifiesAsByteByByte) {
    // Texts of the bytes that matter, of every length up to a few words, so that each
    // falls on every place of a word and in the last, partial one.
    const char pieces[] = {'"', ',', '\r', '\n', '\0', '#', ' ', 'A', 'A', 'A'};
    uint64_t seed = 99;
    std::vector<std::string> texts;
    for (size_t length = 0; length < 200; ++length)
        for (int round = 0; round < 4; ++round) {
            std::string text;
            for (size_t i = 0; i < length; ++i) {
                seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
                text += pieces[(seed >> 33) % sizeof pieces];
            }
            texts.push_back(text);
        }
    int compared = 0;
    for (ClassifyWidth width : {ClassifyWidth::Avx2, ClassifyWidth::Avx512, ClassifyWidth::Widest}) {
        if (!MachineCanClassify(width))
            continue;
        for (const std::string& text : texts) {
            ASSERT_EQ(Classified(text, width), Classified(text, ClassifyWidth::Bytewise))
                << "width " << static_cast<int>(width) << ", " << text.size() << " bytes";
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
}

} // namespace
} // namespace records
