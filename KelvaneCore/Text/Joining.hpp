#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

/// The pieces in order with `separator` between each two of them.
inline std::string joined(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string text;
    for (const std::string& piece : pieces) {
        if (&piece != &pieces.front())
            text.append(separator);
        text.append(piece);
    }
    return text;
}

} // namespace kelvane
