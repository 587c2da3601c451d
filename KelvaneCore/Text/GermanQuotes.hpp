#pragma once

#include <string>
#include <string_view>

namespace kelvane {

/// The text between the German quotation marks „ and “, as every user-visible text puts names
/// and paths.
inline std::string germanQuoted(std::string_view text) {
    std::string result = "\u201E";
    result.append(text);
    result.append("\u201C");
    return result;
}

} // namespace kelvane
