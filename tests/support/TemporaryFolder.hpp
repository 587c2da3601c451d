#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvane::test {

/// Permissions for a script a test runs.
inline constexpr std::filesystem::perms executable = std::filesystem::perms(0755);

/// A new empty folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    /// Writes a file below the folder, creating the folders on its way, and returns its path.
    std::filesystem::path
    write(const std::filesystem::path& name, std::string_view content,
          std::filesystem::perms permissions = std::filesystem::perms(0644)) const;

    /// The names of the entries of the folder, sorted.
    std::string listing() const;

private:
    std::filesystem::path m_path;
};

/// A small tmpfs mounted on a temporary folder, for running out of space or being read-only on
/// purpose. Needs root; `isMounted()` tells whether it worked.
class ScratchMount {
public:
    explicit ScratchMount(std::size_t sizeInBytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool isMounted() const { return m_mounted; }
    const std::filesystem::path& path() const { return m_folder.path(); }
    /// Remounts read-only; returns false when that failed.
    bool makeReadOnly();

private:
    TemporaryFolder m_folder;
    std::size_t m_size;
    bool m_mounted = false;
};

/// Reads a whole file.
std::string contentOf(const std::filesystem::path& path);

} // namespace kelvane::test
