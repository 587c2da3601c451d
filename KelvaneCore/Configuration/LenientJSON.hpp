#pragma once

#include <string>
#include <string_view>

/// Turns relaxed JSON (comments and trailing commas) into strict JSON of the same length.
namespace kelvane::LenientJSON {

/// Blanks out line comments, block comments and every comma that only white space and comments
/// separate from a closing bracket or brace. Every other byte, line breaks included, stays
/// where it was, so a strict parser's line and column point at the user's own text. Nothing is
/// validated: what stays invalid is left for the strict parser to reject.
std::string normalize(std::string_view bytes);

} // namespace kelvane::LenientJSON
