#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane::test {

/// `piece` over and over until the text is at least `size` bytes long: the long hostile
/// inputs of the risk scanner's tests and benchmarks.
inline std::string repeated(std::string_view piece, std::size_t size) {
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    return text;
}

} // namespace kelvane::test
