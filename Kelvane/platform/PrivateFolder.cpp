#include "Kelvane/platform/PrivateFolder.hpp"

#include "KelvaneCore/Files/FileError.hpp"

#include <sys/stat.h>

#include <cerrno>

namespace kelvane {

void createPrivateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::exists(folder, error))
        return;
    createPrivateFolder(folder.parent_path());
    const auto fail = [&folder](int errorNumber) {
        throw FileError(FileError::Operation::write, folder.string(),
                        describeSystemError(errorNumber));
    };
    if (::mkdir(folder.c_str(), 0700) != 0) {
        if (errno != EEXIST)
            fail(errno);
        return;
    }
    // The umask can only take bits away, but it may take the owner's own.
    if (::chmod(folder.c_str(), 0700) != 0)
        fail(errno);
}

} // namespace kelvane
