#pragma once

#include "KelvaneCore/Configuration/ConfigurationError.hpp"

#include <rapidjson/document.h>

#include <cstddef>
#include <string_view>

/// The strict JSON parser behind the configuration loader.
namespace kelvane::StrictJSON {

/// Arrays and objects nested deeper than this are refused: no real menu comes near it, and
/// the limit keeps every reader of the tree safe from exhausting its stack.
inline constexpr int maximumNestingDepth = 512;

/// Parses one JSON value of any kind, followed by nothing but white space. Throws a
/// `ConfigurationError` (`InvalidJSON`) with a German message and the line and column (counted
/// in characters from 1) of the first problem.
rapidjson::Document parse(std::string_view text);

/// Like `parse`, but faster: the document's strings point into `text`, which the parse alters
/// and which must outlive the document. Locations are counted in `source`, the text as it was
/// before (of the same length), since decoded escapes can put line breaks into `text`.
rapidjson::Document parseInPlace(std::string& text, std::string_view source);

/// The line and column of a byte offset, counted from 1 as an editor shows them: a line feed, a
/// carriage return and the pair of both each end a line; columns count characters.
ConfigurationError::SourceLocation locationOf(std::string_view text, std::size_t offset);

} // namespace kelvane::StrictJSON
