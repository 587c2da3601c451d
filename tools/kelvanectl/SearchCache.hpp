#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Search/CommandIndex.hpp"

#include <cstdint>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

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

/// The index in `stored`, viewing its texts, when it was made of exactly `fileBytes` in
/// `sortMode` by this build under the current collation; none for anything else, however
/// damaged.
std::optional<CommandIndex> decode(std::string_view stored, std::string_view fileBytes,
                                   SortMode sortMode);

/// Replaces a cache file from another thread while the search it serves goes on: the file's
/// bytes at once, while the file is loaded, and the index once there is one. Destroyed before
/// `finish`, it leaves the cache file as it was. Destruction waits for the thread, and a failure
/// only means that the next search loads the file again.
class Store {
public:
    /// `fileBytes` must stay alive until this is destroyed.
    Store(std::filesystem::path cacheFile, std::string_view fileBytes, SortMode sortMode);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    /// Hands over the index made of the bytes; what the cache needs of it is copied at once.
    void finish(const CommandIndex& index);

private:
    std::promise<std::string> m_index;
    std::thread m_thread;
};

} // namespace kelvane::ctl::SearchCache
