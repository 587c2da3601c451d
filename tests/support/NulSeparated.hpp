#pragma once

#include <string>
#include <vector>

namespace kelvane::test {

/// The pieces of `text` that each end in a NUL, as `printf '%s\0'` writes an argument vector.
inline std::vector<std::string> splitAtNul(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        pieces.push_back(text.substr(start, end - start));
    return pieces;
}

} // namespace kelvane::test
