#include "KelvaneCore/Configuration/LenientJSON.hpp"

#include <array>
#include <cstddef>

namespace kelvane::LenientJSON {
namespace {

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool isJSONWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The bytes that end a run of ordinary bytes outside a string.
constexpr std::array<bool, 256> specialOutsideString = [] {
    std::array<bool, 256> table{};
    table['"'] = table['/'] = table[']'] = table['}'] = true;
    return table;
}();

// Returns the position after the closing quote, or the end for an unterminated string.
std::size_t skipString(const char* data, std::size_t i, std::size_t end) {
    while (i < end) {
        const char c = data[i];
        if (c == '"')
            return i + 1;
        i += c == '\\' ? 2 : 1;
    }
    return end;
}

std::size_t blankLineComment(char* data, std::size_t i, std::size_t end) {
    while (i < end && !isLineBreak(data[i]))
        data[i++] = ' ';
    return i;
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
    std::size_t i = 0;
    while (i < end) {
        const char c = data[i];
        if (!specialOutsideString[static_cast<unsigned char>(c)]) {
            ++i;
            continue;
        }
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
