#pragma once

#include <string_view>
#include <vector>

namespace kelvane {

/// The pieces between the separators, without the empty ones (so leading, trailing and doubled
/// separators leave nothing behind).
inline std::vector<std::string_view> nonEmptyPieces(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

} // namespace kelvane
