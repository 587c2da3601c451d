#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kelvane {

/// The text with A–Z lower-cased and every other byte kept: for names and keywords that are
/// ASCII by definition, such as command names and options.
inline std::string asciiLowercased(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return result;
}

} // namespace kelvane
