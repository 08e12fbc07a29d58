// The byte classes of the history, computed a word of 64 bytes at a time.
#include "records/history_scan.h"

#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VANTRETH_HISTORY_X86 1
#include <immintrin.h>
#endif

namespace records {

namespace {

// The bytes of one word that matter, before any quote is paired.
struct WordBytes {
    uint64_t quotes = 0;
    uint64_t commas = 0;
    uint64_t ends = 0;
    uint64_t nuls = 0;
    uint64_t hashes = 0;
};

struct Bytewise {
    WordBytes operator()(const char* p) const {
        WordBytes b;
        for (int i = 0; i < 64; ++i) {
            const uint64_t bit = uint64_t{1} << i;
            switch (p[i]) {
            case '"':
                b.quotes |= bit;
                break;
            case ',':
                b.commas |= bit;
                break;
            case '\r':
            case '\n':
                b.ends |= bit;
                break;
            case '\0':
                b.nuls |= bit;
                break;
            case '#':
                b.hashes |= bit;
                break;
            default:
                break;
            }
        }
        return b;
    }
};

// Bit i set when an odd number of the bits 0..i of x are set.
struct PrefixXorByShifts {
    uint64_t operator()(uint64_t x) const {
        for (int shift = 1; shift < 64; shift *= 2)
            x ^= x << shift;
        return x;
    }
};

struct CountBitsBySums {
    uint64_t operator()(uint64_t x) const { return static_cast<uint64_t>(CountBits(x)); }
};

#ifdef VANTRETH_HISTORY_X86
struct CountBitsByInstruction {
    __attribute__((target("popcnt"))) uint64_t operator()(uint64_t x) const {
        return static_cast<uint64_t>(__builtin_popcountll(x));
    }
};

struct Avx2 {
    __attribute__((target("avx2"))) static uint64_t Mask(__m256i lo, __m256i hi, char c) {
        const __m256i wanted = _mm256_set1_epi8(c);
        return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, wanted))) |
               static_cast<uint64_t>(
                   static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, wanted))))
                   << 32;
    }
    __attribute__((target("avx2"))) WordBytes operator()(const char* p) const {
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
        WordBytes b;
        b.quotes = Mask(lo, hi, '"');
        b.commas = Mask(lo, hi, ',');
        b.ends = Mask(lo, hi, '\r') | Mask(lo, hi, '\n');
        b.nuls = Mask(lo, hi, '\0');
        b.hashes = Mask(lo, hi, '#');
        return b;
    }
};

struct Avx512 {
    __attribute__((target("avx512bw"))) WordBytes operator()(const char* p) const {
        const __m512i v = _mm512_loadu_si512(p);
        WordBytes b;
        b.quotes = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('"'));
        b.commas = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(','));
        b.ends = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('\r')) |
                 _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('\n'));
        b.nuls = _mm512_cmpeq_epi8_mask(v, _mm512_setzero_si512());
        b.hashes = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('#'));
        return b;
    }
};

struct PrefixXorByCarrylessProduct {
    __attribute__((target("pclmul"))) uint64_t operator()(uint64_t x) const {
        const __m128i product = _mm_clmulepi64_si128(_mm_set_epi64x(0, static_cast<long long>(x)),
                                                     _mm_set1_epi8(static_cast<char>(0xFF)), 0);
        return static_cast<uint64_t>(_mm_cvtsi128_si64(product));
    }
};
#endif

// Bytes straight from a mapped file come from memory a page at a time: asked for this far
// ahead, they are there when needed.
constexpr size_t kPrefetchAhead = 2048;

template <class Bytes, class PrefixXor, class CountBits>
inline __attribute__((always_inline)) void ClassifyWith(std::string_view bytes, HistoryByteClasses& out,
                                                        Bytes wordBytes, PrefixXor prefixXor,
                                                        CountBits countBits) {
    const char* data = bytes.data();
    const size_t n = bytes.size();
    const size_t words = (n + 63) / 64;
    out.resize(words);
    uint64_t carry = 0; // all ones while a text is open across words
    // The word before the first: its last byte counts as a line end, so that the first
    // byte starts a line.
    uint64_t prevCommas = 0, prevEnds = uint64_t{1} << 63, prevClosing = 0, prevFlaws = 0;
    uint64_t commasBefore = 0;
    for (size_t w = 0; w < words; ++w) {
        WordBytes b;
        if (64 * w + 64 <= n) {
            __builtin_prefetch(data + 64 * w + kPrefetchAhead);
            b = wordBytes(data + 64 * w);
        } else {
            char tail[64] = {};
            std::memcpy(tail, data + 64 * w, n - 64 * w);
            b = wordBytes(tail);
            const uint64_t given = (uint64_t{1} << (n % 64)) - 1;
            b.quotes &= given;
            b.commas &= given;
            b.ends &= given;
            b.nuls &= given;
            b.hashes &= given;
        }
        // Bit set within a text and on the quote that opens it.
        uint64_t inside = prefixXor(b.quotes) ^ carry;
        uint64_t flaws = b.nuls;
        // A line end closes a text left open: a flaw there, and the next line starts outside.
        for (uint64_t open = inside & b.ends; open != 0; open = inside & b.ends) {
            const uint64_t at = open & (0 - open);
            inside ^= ~(at - 1);
            flaws |= at;
        }
        carry = inside >> 63 != 0 ? ~uint64_t{0} : 0;
        const uint64_t commas = b.commas & ~inside;
        const uint64_t itemStarts = (commas << 1) | (prevCommas >> 63) | (b.ends << 1) | (prevEnds >> 63);
        flaws |= b.quotes & inside & ~itemStarts;
        // The quotes that close a text in the word before, now that the byte after each is known.
        const uint64_t itemEnds = (prevCommas >> 1) | (commas << 63) | (prevEnds >> 1) | (b.ends << 63);
        if (w > 0)
            out[w - 1].flaws = prevFlaws | (prevClosing & ~itemEnds);
        out[w].ends = b.ends;
        out[w].commas = commas;
        out[w].hashes = b.hashes & ~inside;
        out[w].commasBefore = commasBefore;
        commasBefore += countBits(commas);
        prevCommas = commas;
        prevEnds = b.ends;
        prevClosing = b.quotes & ~inside;
        prevFlaws = flaws;
    }
    if (words > 0)
        out[words - 1].flaws = prevFlaws | (prevClosing & ~((prevCommas >> 1) | (prevEnds >> 1)));
}

void ClassifyBytewise(std::string_view bytes, HistoryByteClasses& out) {
    ClassifyWith(bytes, out, Bytewise{}, PrefixXorByShifts{}, CountBitsBySums{});
}

#ifdef VANTRETH_HISTORY_X86
__attribute__((target("avx2,bmi,pclmul,popcnt"))) void ClassifyAvx2(std::string_view bytes,
                                                                    HistoryByteClasses& out) {
    ClassifyWith(bytes, out, Avx2{}, PrefixXorByCarrylessProduct{}, CountBitsByInstruction{});
}

__attribute__((target("avx512bw,bmi,pclmul,popcnt"))) void ClassifyAvx512(std::string_view bytes,
                                                                          HistoryByteClasses& out) {
    ClassifyWith(bytes, out, Avx512{}, PrefixXorByCarrylessProduct{}, CountBitsByInstruction{});
}
#endif

} // namespace

bool MachineCanClassify(ClassifyWidth width) {
#ifdef VANTRETH_HISTORY_X86
    static const bool carryless =
        __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("popcnt");
    static const bool avx2 = carryless && __builtin_cpu_supports("avx2");
    static const bool avx512 = carryless && __builtin_cpu_supports("avx512bw");
    switch (width) {
    case ClassifyWidth::Avx2:
        return avx2;
    case ClassifyWidth::Avx512:
        return avx512;
    default:
        return true;
    }
#else
    return width == ClassifyWidth::Bytewise || width == ClassifyWidth::Widest;
#endif
}

void ClassifyHistoryBytes(std::string_view bytes, HistoryByteClasses& classes, ClassifyWidth width) {
#ifdef VANTRETH_HISTORY_X86
    if (width == ClassifyWidth::Widest)
        width = MachineCanClassify(ClassifyWidth::Avx512) ? ClassifyWidth::Avx512
                : MachineCanClassify(ClassifyWidth::Avx2) ? ClassifyWidth::Avx2
                                                          : ClassifyWidth::Bytewise;
    if (width == ClassifyWidth::Avx512 && MachineCanClassify(width))
        return ClassifyAvx512(bytes, classes);
    if (width == ClassifyWidth::Avx2 && MachineCanClassify(width))
        return ClassifyAvx2(bytes, classes);
#endif
    ClassifyBytewise(bytes, classes);
}

} // namespace records
