#pragma once

#include <string>
#include <string_view>

/// Makes text the contents of an AppleScript string literal.
namespace kelvane::AppleScriptLiteral {

/// The text with backslash, double quote, line feed, carriage return and tab escaped by a
/// backslash; every other character is copied unchanged.
std::string escape(std::string_view text);

/// A complete AppleScript string literal: `escape(text)` between double quotes.
std::string quoted(std::string_view text);

} // namespace kelvane::AppleScriptLiteral
