#include "KelvaneCore/Configuration/LenientJSON.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

enum class Region { code, string, comment };

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// An independent reading of where strings and comments are, as the oracle for the normalizer.
std::vector<Region> regionsOf(std::string_view text) {
    std::vector<Region> regions(text.size(), Region::code);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != '"')
                j += text[j] == '\\' ? 2 : 1;
            const std::size_t end = std::min(j + 1, text.size());
            for (std::size_t k = i + 1; k < std::min(j, text.size()); ++k)
                regions[k] = Region::string;
            i = end;
        } else if (text.substr(i, 2) == "//") {
            while (i < text.size() && !isLineBreak(text[i]))
                regions[i++] = Region::comment;
        } else if (text.substr(i, 2) == "/*") {
            const std::size_t close = text.find("*/", i + 2);
            const std::size_t end = close == std::string_view::npos ? text.size() : close + 2;
            for (; i < end; ++i)
                regions[i] = Region::comment;
        } else {
            ++i;
        }
    }
    return regions;
}

bool closesAfterWhitespace(std::string_view text, std::size_t i) {
    for (++i; i < text.size(); ++i) {
        if (text[i] == ']' || text[i] == '}')
            return true;
        if (text[i] != ' ' && text[i] != '\t' && !isLineBreak(text[i]))
            return false;
    }
    return false;
}

bool acceptable(std::string_view input, std::string_view output, std::size_t i, Region region) {
    if (isLineBreak(input[i]))
        return output[i] == input[i];
    switch (region) {
    case Region::comment:
        return output[i] == ' ';
    case Region::string:
        return output[i] == input[i];
    case Region::code:
        break;
    }
    if (input[i] == ',' && output[i] == ' ')
        return closesAfterWhitespace(output, i);
    return output[i] == input[i];
}

} // namespace

// The output has the input's length, keeps every line break, blanks comments and the commas
// that only white space separates from a closing bracket, and changes nothing else.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string output = kelvane::LenientJSON::normalize(input);
    if (output.size() != input.size())
        std::abort();
    const std::vector<Region> regions = regionsOf(input);
    for (std::size_t i = 0; i < size; ++i)
        if (!acceptable(input, output, i, regions[i]))
            std::abort();
    return 0;
}
