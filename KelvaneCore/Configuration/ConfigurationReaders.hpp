#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <rapidjson/document.h>

/// The readers of the two file formats, over an already parsed JSON value.
namespace kelvane::ConfigurationReaders {

/// Reads the version 2 format. Throws `ConfigurationError` when the top level is not an object
/// or has no `items` array.
Configuration readV2(const rapidjson::Value& root, SortMode sortMode);

/// Reads the legacy Shuttle format. Throws `ConfigurationError` when the top level is not an
/// object.
Configuration readLegacy(const rapidjson::Value& root, SortMode sortMode);

} // namespace kelvane::ConfigurationReaders
