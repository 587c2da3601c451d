#include "KelvaneCore/Files/FileAccess.hpp"

#include "KelvaneCore/Files/FileError.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <functional>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::ScratchMount;
using test::TemporaryFolder;

unsigned modeOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::string failureOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const FileError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(FileAccess, replacesContentWithAnOwnerOnlyFileAndLeavesNothingElse) {
    const TemporaryFolder folder;
    const fs::path file = folder.write("kelvane.json", "old");
    fs::permissions(file, fs::perms(0644));
    FileAccess::writeAtomically(file, "new content");
    EXPECT_EQ(contentOf(file), "new content");
    EXPECT_EQ(modeOf(file), 0600U);
    EXPECT_EQ(folder.listing(), "kelvane.json");

    FileAccess::writeAtomically(folder / "fresh.json", "");
    EXPECT_EQ(contentOf(folder / "fresh.json"), "");
}

TEST(FileAccess, aReplacementWrittenInPiecesTakesThePlaceOfTheFileOnlyWhenCommitted) {
    const TemporaryFolder folder;
    const fs::path file = folder.write("kelvane.json", "old");
    {
        FileAccess::Replacement abandoned(file);
        abandoned.write("never");
    }
    EXPECT_EQ(contentOf(file), "old");
    EXPECT_EQ(folder.listing(), "kelvane.json");

    FileAccess::Replacement replacement(file);
    for (const std::string_view piece : {"new ", "", "content"})
        replacement.write(piece);
    EXPECT_EQ(contentOf(file), "old");
    replacement.commit();
    EXPECT_EQ(contentOf(file), "new content");
    EXPECT_EQ(folder.listing(), "kelvane.json");
}

// A write killed before its rename leaves its temporary file; the next write to the same file
// removes it, and nothing that might belong to anyone else or to a write still under way.
TEST(FileAccess, removesTheStaleTemporaryFilesOfItsOwnFile) {
    const TemporaryFolder folder;
    const fs::path file = folder.write("k.json", "old");
    const auto age = [](const fs::path& path, std::time_t seconds) {
        const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    };
    const auto lastChanged = [&](const std::string& name, std::time_t seconds) {
        const fs::path path = folder.write(name, "left over");
        age(path, seconds);
        return path;
    };
    const std::time_t past = std::time(nullptr) - 3600;
    lastChanged(".k.json.a1B2c3", past);
    lastChanged(".k.json.backup.Zz9yY8", past);
    lastChanged(".k.json.a1B2c", past);
    lastChanged(".k.json.a1-2c3", past);
    lastChanged("k.json.a1B2c3", past);
    lastChanged(".k.json.x7x7x7", std::time(nullptr) + 3600);
    const fs::path inUse = lastChanged(".k.json.u5u5u5", past);
    const int held = ::open(inUse.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    FileAccess::writeAtomically(file, "new");
    ::close(held);
    EXPECT_EQ(folder.listing(), ".k.json.a1-2c3 .k.json.a1B2c .k.json.backup.Zz9yY8 "
                                ".k.json.u5u5u5 .k.json.x7x7x7 k.json k.json.a1B2c3");
    FileAccess::writeAtomically(folder / "k.json.backup", "backup");
    EXPECT_FALSE(fs::exists(folder / ".k.json.backup.Zz9yY8"));

    // A write that has taken longer than the sweep's second is still under way, not stale.
    FileAccess::writeAtomically(file, "slow", [&] {
        for (const auto& entry : fs::directory_iterator(folder.path()))
            age(entry.path(), past);
        FileAccess::writeAtomically(file, "quick");
    });
    EXPECT_EQ(contentOf(file), "slow");
}

// What runs right before the rename can still stop it; the temporary file it sees keeps its
// name within 255 bytes even next to a long file name.
TEST(FileAccess, anObjectionBeforeTheRenameLeavesTheOldContent) {
    const TemporaryFolder folder;
    const fs::path file = folder.write(std::string(250, 'n'), "old");
    std::string seen;
    EXPECT_EQ(failureOf([&] {
                  FileAccess::writeAtomically(file, "new", [&] {
                      for (const auto& entry : fs::directory_iterator(folder.path())) {
                          if (entry.path() != file)
                              seen = entry.path().filename().string();
                      }
                      throw FileError(FileError::Operation::write, file.string(), "Einspruch");
                  });
              }),
              "\u201E" + file.string() + "\u201C konnte nicht geschrieben werden: Einspruch");
    EXPECT_EQ(contentOf(file), "old");
    EXPECT_EQ(folder.listing(), std::string(250, 'n'));
    EXPECT_EQ(seen.size(), 255U);
    EXPECT_TRUE(seen.starts_with("." + std::string(247, 'n') + "."));
}

TEST(FileAccess, keepsSymbolicLinksAndReplacesTheirFinalTarget) {
    const TemporaryFolder folder;
    fs::create_directory(folder / "dotfiles");
    const fs::path target = folder.write("dotfiles/kelvane.json", "old");
    fs::create_symlink("dotfiles/kelvane.json", folder / "middle.json");
    fs::create_symlink(folder / "middle.json", folder / "kelvane.json");

    FileAccess::writeAtomically(folder / "kelvane.json", "new");
    EXPECT_TRUE(fs::is_symlink(folder / "kelvane.json"));
    EXPECT_TRUE(fs::is_symlink(folder / "middle.json"));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(FileAccess::finalLinkTarget(folder / "kelvane.json"),
              folder / "dotfiles/kelvane.json");

    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    EXPECT_NE(failureOf([&] {
                  FileAccess::writeAtomically(folder / "loop-a", "x");
              }).find("Zu viele Ebenen aus symbolischen Links"),
              std::string::npos);
}

TEST(FileAccess, aFullOrReadOnlyDiskLeavesTheOldFileAndNoTemporaryFile) {
    ScratchMount mount(16 * 1024);
    if (!mount.isMounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const fs::path file = mount.path() / "kelvane.json";
    FileAccess::writeAtomically(file, "old");

    const std::string error =
        failureOf([&] { FileAccess::writeAtomically(file, std::string(64 * 1024, 'x')); });
    EXPECT_EQ(error, "\u201E" + file.string() +
                         "\u201C konnte nicht geschrieben werden: Auf dem Ger\u00E4t ist kein "
                         "Speicherplatz mehr verf\u00FCgbar");
    EXPECT_EQ(contentOf(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(mount.path()), fs::directory_iterator()), 1);

    ASSERT_TRUE(mount.makeReadOnly());
    EXPECT_NE(failureOf([&] {
                  FileAccess::writeAtomically(file, "new");
              }).find("Das Dateisystem ist nur lesbar"),
              std::string::npos);
    EXPECT_EQ(contentOf(file), "old");
}

TEST(FileAccess, readsOnlyRegularFilesAndNeverBlocks) {
    const TemporaryFolder folder;
    EXPECT_EQ(FileAccess::readRegularFile(folder.write("a.json", std::string("a\0b", 3))),
              std::string("a\0b", 3));
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(failureOf([&] { FileAccess::readRegularFile(folder / "pipe"); }),
              "\u201E" + (folder / "pipe").string() +
                  "\u201C konnte nicht gelesen werden: Keine normale Datei");
    EXPECT_NE(failureOf([&] {
                  FileAccess::writeAtomically(folder / "no/such/dir/x", "x");
              }).find("Datei oder Verzeichnis nicht gefunden"),
              std::string::npos);
}

TEST(FileAccess, refusesFilesAboveTheLimitBeforeReadingThem) {
    const TemporaryFolder folder;
    const fs::path limit = folder.write("limit.json", "");
    fs::resize_file(limit, FileAccess::maximumFileSize);
    EXPECT_EQ(FileAccess::readRegularFile(limit).size(), FileAccess::maximumFileSize);

    // Sparse, so only reading it would take the space.
    const std::pair<std::uintmax_t, std::string> sizes[] = {
        {FileAccess::maximumFileSize + 1, "67108865 Bytes (64 MiB)"},
        {std::uintmax_t{100} << 30, "107374182400 Bytes (100 GiB)"},
        {(std::uintmax_t{65} << 20) + (std::uintmax_t{1} << 19), "68681728 Bytes (65,5 MiB)"},
    };
    for (const auto& [size, text] : sizes) {
        const fs::path huge = folder.write("huge.json", "");
        fs::resize_file(huge, size);
        EXPECT_EQ(failureOf([&] { FileAccess::readRegularFile(huge); }),
                  "\u201E" + huge.string() +
                      "\u201C konnte nicht gelesen werden: Die Datei ist zu gro\u00DF: " + text +
                      ", erlaubt sind h\u00F6chstens 67108864 Bytes (64 MiB).");
    }
}

TEST(FileError, explainsErrorNumbersInGerman) {
    const std::pair<int, std::string> known[] = {
        {EACCES, "Keine Berechtigung"},
        {EPERM, "Die Operation ist nicht erlaubt"},
        {EIO, "Ein- oder Ausgabefehler"},
        {EFBIG, "Die Datei ist zu gro\u00DF"},
    };
    for (const auto& [number, text] : known)
        EXPECT_EQ(describeSystemError(number), text) << number;
    EXPECT_EQ(describeSystemError(99999).rfind("Systemfehler 99999 (", 0), 0U);
}

} // namespace
} // namespace kelvane
