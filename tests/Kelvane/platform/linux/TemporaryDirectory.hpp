#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvane::test {

/// A fresh directory, removed with everything in it at the end of the test.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::filesystem::filesystem_error(
                "mkdtemp", std::error_code(errno, std::generic_category()));
        m_path = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    /// Writes a file below the directory, creating its folders, with the given permissions.
    std::string
    write(const std::string& name, const std::string& content,
          std::filesystem::perms permissions = std::filesystem::perms::owner_all) const {
        const std::filesystem::path file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        std::filesystem::permissions(file, permissions);
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace kelvane::test
