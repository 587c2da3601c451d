#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace kelvane {

/// Bookmark data with security scope for a file the user chose, by which a sandboxed program
/// may open it again later; none where the system has no such bookmarks or cannot make one.
std::optional<std::vector<std::uint8_t>> securityScopedBookmark(const std::filesystem::path& file);

} // namespace kelvane
