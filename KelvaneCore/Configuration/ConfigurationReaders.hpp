#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <rapidjson/document.h>

/// The readers of the two file formats, over an already parsed JSON value.
namespace kelvane::ConfigurationReaders {

/// Reads the version 2 format. Throws `ConfigurationError` when the top level is not an object
/// or has no `items` array. The settings and entry objects keep only the last occurrence of a
/// repeated member name; repeats at the top level are the caller's to settle.
Configuration readV2(rapidjson::Value& root, SortMode sortMode);

/// Reads the legacy Shuttle format. Throws `ConfigurationError` when the top level is not an
/// object. Entry objects keep only the last occurrence of a repeated member name; repeats at the
/// top level are the caller's to settle.
Configuration readLegacy(rapidjson::Value& root, SortMode sortMode);

} // namespace kelvane::ConfigurationReaders
