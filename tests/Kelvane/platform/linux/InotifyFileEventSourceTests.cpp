#include "Kelvane/platform/FileEventSource.hpp"

#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using Event = FileEventSource::Event;

constexpr unsigned everything =
    Event::write | Event::extend | Event::attrib | Event::remove | Event::rename | Event::revoke;

void append(const fs::path& path, const char* text) {
    std::ofstream(path, std::ios::app) << text;
}

struct Case {
    const char* name;
    bool watchFolder;
    unsigned asked;
    std::function<void(const test::TemporaryFolder&)> change;
    unsigned expectedAtLeast;
    unsigned expectedNone;
};

class InotifyFileEventSource : public ::testing::TestWithParam<Case> {};

// The kernel queues the events during the system call, so they can be taken right after it.
TEST_P(InotifyFileEventSource, reportsChangesInVnodeTerms) {
    const Case& given = GetParam();
    const test::TemporaryFolder folder;
    folder.write("watched.json", "{}");
    const auto source = makeFileEventSource(
        given.watchFolder ? folder.path() : folder / "watched.json", given.asked);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->takeEvents(), 0u) << "nothing happened yet";

    given.change(folder);
    const unsigned events = source->takeEvents();
    EXPECT_EQ(events & given.expectedAtLeast, given.expectedAtLeast) << given.name;
    EXPECT_EQ(events & given.expectedNone, 0u) << given.name;
    EXPECT_EQ(source->takeEvents(), 0u) << "events are taken only once";
}

constexpr unsigned folderAsks = Event::write | Event::attrib;
constexpr const char* watched = "watched.json";

// clang-format off
const Case cases[] = {
    {"write", false, everything, [](auto& f) { append(f / watched, "x"); }, Event::write | Event::extend, Event::remove | Event::rename | Event::revoke},
    {"chmod", false, everything, [](auto& f) { fs::permissions(f / watched, fs::perms(0600)); }, Event::attrib, Event::write | Event::remove | Event::rename},
    {"unlink", false, everything, [](auto& f) { fs::remove(f / watched); }, Event::remove | Event::revoke, Event::write | Event::rename},
    {"rename", false, everything, [](auto& f) { fs::rename(f / watched, f / "aside.json"); }, Event::rename, Event::write | Event::remove},
    {"onlyWhatWasAsked", false, Event::attrib, [](auto& f) { append(f / watched, "x"); }, 0, everything},
    {"folderNewEntry", true, folderAsks, [](auto& f) { f.write("other.json", "{}"); }, Event::write, Event::rename | Event::remove},
    {"folderEntryRenamed", true, folderAsks, [](auto& f) { fs::rename(f / watched, f / "aside.json"); }, Event::write, 0},
    {"folderOwnMode", true, folderAsks, [](auto& f) { fs::permissions(f.path(), fs::perms(0770)); }, Event::attrib, Event::write},
    {"folderIgnoresChildContent", true, folderAsks, [](auto& f) { append(f / watched, "x"); }, 0, everything},
    {"folderIgnoresChildMode", true, folderAsks, [](auto& f) { fs::permissions(f / watched, fs::perms(0600)); }, 0, everything},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Changes, InotifyFileEventSource, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InotifyFileEventSourceSetup, aMissingPathCannotBeWatched) {
    const test::TemporaryFolder folder;
    EXPECT_EQ(makeFileEventSource(folder / "missing.json", everything), nullptr);
}

TEST(InotifyFileEventSourceSetup, followsASymbolicLinkToItsTarget) {
    const test::TemporaryFolder folder;
    const fs::path target = folder.write("target.json", "{}");
    fs::create_symlink(target, folder / "link.json");
    const auto source = makeFileEventSource(folder / "link.json", everything);
    ASSERT_NE(source, nullptr);
    append(target, "x");
    EXPECT_TRUE(source->takeEvents() & Event::write);
}

} // namespace
} // namespace kelvane
