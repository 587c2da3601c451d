#include "KelvaneCore/Configuration/LenientJSON.hpp"

#include <algorithm>
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvane::LenientJSON {
namespace {

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool isJSONWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The position of the first of `Bytes` at or after `i`; the end when there is none, and `i`
// itself when `i` is past the end. Most of a file lies in runs between such bytes, so with SSE2
// it looks at 16 bytes at a time.
template <char... Bytes> std::size_t findAny(const char* data, std::size_t i, std::size_t end) {
#if defined(__SSE2__)
    for (; i + 16 <= end; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Bytes)))), ...);
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    while (i < end && ((data[i] != Bytes) && ...))
        ++i;
    return i;
}

// Returns the position after the closing quote, or the end for an unterminated string.
std::size_t skipString(const char* data, std::size_t i, std::size_t end) {
    for (i = findAny<'"', '\\'>(data, i, end); i < end; i = findAny<'"', '\\'>(data, i + 2, end))
        if (data[i] == '"')
            return i + 1;
    return end;
}

std::size_t blankLineComment(char* data, std::size_t i, std::size_t end) {
    const std::size_t lineEnd = findAny<'\n', '\r'>(data, i, end);
    std::fill(data + i, data + lineEnd, ' ');
    return lineEnd;
}

// `i` is at the slash of the opening pair; returns the position after the closing pair.
std::size_t blankBlockComment(char* data, std::size_t i, std::size_t end) {
    data[i] = data[i + 1] = ' ';
    for (i += 2; i < end; ++i) {
        if (data[i] == '*' && i + 1 < end && data[i + 1] == '/') {
            data[i] = data[i + 1] = ' ';
            return i + 2;
        }
        if (!isLineBreak(data[i]))
            data[i] = ' ';
    }
    return end;
}

void blankTrailingComma(char* data, std::size_t closing) {
    std::size_t j = closing;
    while (j > 0 && isJSONWhitespace(data[j - 1]))
        --j;
    if (j > 0 && data[j - 1] == ',')
        data[j - 1] = ' ';
}

} // namespace

std::string normalize(std::string_view bytes) {
    std::string result(bytes);
    char* data = result.data();
    const std::size_t end = result.size();
    for (std::size_t i = findAny<'"', '/', ']', '}'>(data, 0, end); i < end;
         i = findAny<'"', '/', ']', '}'>(data, i, end)) {
        const char c = data[i];
        if (c == '"') {
            i = skipString(data, i + 1, end);
        } else if (c == '/') {
            const char next = i + 1 < end ? data[i + 1] : '\0';
            if (next == '/')
                i = blankLineComment(data, i, end);
            else if (next == '*')
                i = blankBlockComment(data, i, end);
            else
                ++i;
        } else {
            blankTrailingComma(data, i);
            ++i;
        }
    }
    return result;
}

} // namespace kelvane::LenientJSON
