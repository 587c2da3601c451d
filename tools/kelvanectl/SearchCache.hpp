#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Search/CommandIndex.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// Keeps the command index of a searched configuration file in the user's cache folder, beside
/// a copy of the very bytes it was made of, so that searching an unchanged file again skips
/// loading it. A stored index is used only for exactly the same bytes, sort mode, collation
/// and program build, and only from a file that passes the trust check itself; anything else
/// in the cache is ignored and replaced.
namespace kelvane::ctl::SearchCache {

/// Where the index of the configuration file `file` in `sortMode` is kept inside
/// `cacheFolder`; none when this program cannot name its own build, and so cannot tell an index
/// of its own from one an older build left.
std::optional<std::filesystem::path> fileFor(const std::filesystem::path& cacheFolder,
                                             const std::filesystem::path& file, SortMode sortMode);

/// The stored bytes of the cache file, or none when it is missing, unreadable or untrusted.
std::optional<std::string> read(const std::filesystem::path& cacheFile, std::uint32_t currentUser);

/// `index` with what it was made of, as a cache file holds it.
std::string encode(const CommandIndex& index, std::string_view fileBytes, SortMode sortMode);

/// The index in `stored`, viewing its texts, when it was made of exactly `fileBytes` in
/// `sortMode` by this build under the current collation; none for anything else, however
/// damaged.
std::optional<CommandIndex> decode(std::string_view stored, std::string_view fileBytes,
                                   SortMode sortMode);

/// Replaces the cache file atomically, creating its folder for the user alone; a failure only
/// means that the next search loads the file again.
void write(const std::filesystem::path& cacheFile, std::string_view stored);

} // namespace kelvane::ctl::SearchCache
