#pragma once

#include <rapidjson/document.h>

#include <ostream>
#include <string_view>

/// Builds and prints the JSON documents of kelvanectl.
namespace kelvane::ctl::JSONOutput {

using Allocator = rapidjson::Document::AllocatorType;

/// A JSON string; bytes that are not UTF-8 (a path, a query) become U+FFFD so the output
/// stays valid JSON.
rapidjson::Value text(std::string_view value, Allocator& allocator);

/// Adds a member with a text value.
void addText(rapidjson::Value& object, std::string_view key, std::string_view value,
             Allocator& allocator);

/// Prints the document, indented by two blanks, followed by a line feed.
void print(std::ostream& out, const rapidjson::Value& document);

} // namespace kelvane::ctl::JSONOutput
