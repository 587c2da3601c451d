#pragma once

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace kelvane {

/// Whether the text equals one of the choices.
inline bool isOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

} // namespace kelvane
