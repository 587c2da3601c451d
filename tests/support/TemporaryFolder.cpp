#include "TemporaryFolder.hpp"

#include <sys/mount.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace kelvane::test {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TemporaryFolder::write(const std::filesystem::path& name,
                                             std::string_view content,
                                             std::filesystem::perms permissions) const {
    const std::filesystem::path file = m_path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    std::filesystem::permissions(file, permissions);
    return file;
}

std::string TemporaryFolder::listing() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.insert(entry.path().filename().string());
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

ScratchMount::ScratchMount(std::size_t sizeInBytes) : m_size(sizeInBytes) {
    const std::string options = "size=" + std::to_string(sizeInBytes) + ",mode=0755";
    m_mounted = ::mount("tmpfs", m_folder.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

ScratchMount::~ScratchMount() {
    if (m_mounted)
        ::umount2(m_folder.path().c_str(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly() {
    const std::string options = "size=" + std::to_string(m_size);
    return ::mount("tmpfs", m_folder.path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                   options.c_str()) == 0;
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

} // namespace kelvane::test
