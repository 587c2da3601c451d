#include "Kelvane/platform/SecurityScopedBookmark.hpp"

namespace kelvane {

// Linux programs are not sandboxed per file: the path alone opens it again.
std::optional<std::vector<std::uint8_t>> securityScopedBookmark(const std::filesystem::path&) {
    return std::nullopt;
}

} // namespace kelvane
