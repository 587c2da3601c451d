#include "Kelvane/platform/linux/XDGAutostartEntry.hpp"

#include "KelvaneCore/Files/FileError.hpp"

#include "support/ScopedEnvironment.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Status = LoginItemService::Status;

TEST(XDGAutostartEntry, registeringWritesAnEntryThatStartsTheProgramUnregisteringRemovesIt) {
    const test::TemporaryFolder folder;
    const auto path = folder / "config/autostart/kelvane.desktop";
    XDGAutostartEntry entry(path, "/opt/kelvane/bin/kelvane");
    EXPECT_EQ(entry.status(), Status::notRegistered);

    entry.registerItem();
    EXPECT_EQ(entry.status(), Status::enabled);
    const std::string written = test::contentOf(path);
    EXPECT_EQ(written, entry.content());
    EXPECT_EQ(written.rfind("[Desktop Entry]\nType=Application\nName=Kelvane\n", 0), 0u);
    EXPECT_NE(written.find("\nExec=\"/opt/kelvane/bin/kelvane\"\n"), std::string::npos);
    entry.registerItem();
    EXPECT_EQ(test::contentOf(path), written) << "registering again rewrites the same entry";

    entry.unregisterItem();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(entry.status(), Status::notRegistered);
    EXPECT_NO_THROW(entry.unregisterItem());
}

TEST(XDGAutostartEntry, anEntryTheDesktopSwitchedOffIsNotRegistered) {
    const std::vector<std::pair<std::string, Status>> cases = {
        {"[Desktop Entry]\nExec=kelvane\n", Status::enabled},
        {"[Desktop Entry]\nExec=kelvane\nHidden=true\n", Status::notRegistered},
        {"[Desktop Entry]\nHidden = true\n", Status::notRegistered},
        {"[Desktop Entry]\nHidden=false\n", Status::enabled},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", Status::notRegistered},
    };
    const test::TemporaryFolder folder;
    const XDGAutostartEntry entry(folder / "kelvane.desktop", "/usr/bin/kelvane");
    for (const auto& [content, expected] : cases) {
        folder.write("kelvane.desktop", content);
        EXPECT_EQ(entry.status(), expected) << content;
    }
    std::filesystem::remove(folder / "kelvane.desktop");
    std::filesystem::create_directory(folder / "kelvane.desktop");
    EXPECT_EQ(entry.status(), Status::notRegistered) << "a folder is no entry";
}

TEST(XDGAutostartEntry, failuresThrowWithAnExplanation) {
    const test::TemporaryFolder folder;
    XDGAutostartEntry unknownProgram(folder / "kelvane.desktop", "");
    EXPECT_THROW(unknownProgram.registerItem(), LoginItemError);
    EXPECT_FALSE(std::filesystem::exists(folder / "kelvane.desktop"));

    folder.write("autostart", "a file where the folder belongs");
    XDGAutostartEntry blocked(folder / "autostart/kelvane.desktop", "/usr/bin/kelvane");
    EXPECT_THROW(blocked.registerItem(), FileError);

    std::filesystem::create_directories(folder / "entry.desktop/inside");
    XDGAutostartEntry folderInTheWay(folder / "entry.desktop", "/usr/bin/kelvane");
    EXPECT_THROW(folderInTheWay.unregisterItem(), FileError);
}

TEST(XDGAutostartEntry, execValueSurvivesEveryLayerOfEscaping) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/kelvane", R"("/usr/bin/kelvane")"},
        {"/x/\"q\"/k", R"("/x/\\"q\\"/k")"},
        {"/x/$HOME/`id`/k", R"("/x/\\$HOME/\\`id\\`/k")"},
        {"/x/back\\slash", R"("/x/back\\\\slash")"},
        {"/x/100%/%f", R"("/x/100%%/%%f")"},
        {"/x/line\nbreak\ttab", R"("/x/line\nbreak\ttab")"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(desktopEntryExecValue(path), expected) << path;
}

TEST(XDGAutostartEntry, theUsersEntryLiesInTheXDGConfigurationFolder) {
    const test::TemporaryFolder folder;
    {
        const test::ScopedEnvironment configHome("XDG_CONFIG_HOME", folder.path().string());
        makeLoginItemService()->registerItem();
    }

    const std::string written = test::contentOf(folder / "autostart/kelvane.desktop");
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_NE(written.find("\nExec=" + desktopEntryExecValue(program) + "\n"), std::string::npos)
        << written;
}

} // namespace
} // namespace kelvane
