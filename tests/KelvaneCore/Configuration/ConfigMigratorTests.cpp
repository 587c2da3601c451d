#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Files/FileError.hpp"
#include "support/MenuNodes.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::ScratchMount;
using test::TemporaryFolder;

const std::string legacyFile = R"({
  // nested groups, a fallback title and a launch wish
  "launch_at_login": true, "open_in": "tab", "editor": "nano",
  "cmds": [
    {"name": "Web", "cmd": "open https://example.com/a/b"},
    {"Server": [{"cmd": "ssh host"}, {"Empty": []}]},
  ]
})";

TEST(ConfigMigrator, writesEveryOptionalMemberAndReadsBackTheSameTree) {
    const std::string v2 = R"({"settings": {"editor": "Default"}, "items": [
        {"title": "A \"q\" \\ \u00E4", "command": "echo\t1\n", "icon": "bolt",
         "shortcut": "cmd+shift+k", "workingDirectory": "~/x y", "confirm": true},
        {"type": "separator"},
        {"title": "G", "icon": "folder", "items": [{"title": "b", "command": "b", "confirm": false}]}
    ]})";
    const ConfigurationLoader loader{SortMode::fileOrder, SortMode::fileOrder};
    const Configuration original = loader.load(v2);
    const std::string written = ConfigMigrator::makeV2JSON(original);
    EXPECT_EQ(
        written.rfind("{\n  \"$schema\": \"https://tolvo.de/kelvane/schema/v2.json\",\n"
                      "  \"version\": 2,\n  \"settings\": {\n    \"terminal\": \"terminal.app\",\n",
                      0),
        0U);
    EXPECT_NE(written.find("\"shortcut\": \"\u21E7\u2318k\""), std::string::npos);
    EXPECT_NE(written.find(R"("editor": "default")"), std::string::npos);
    EXPECT_NE(written.find("{\n      \"type\": \"separator\"\n    }"), std::string::npos);
    EXPECT_EQ(written.find("\\/"), std::string::npos);
    EXPECT_EQ(written.back(), '\n');

    const Configuration reread = loader.load(written);
    EXPECT_TRUE(reread.warnings.empty());
    EXPECT_EQ(reread.settings, original.settings);
    const auto originalCommands = original.allCommands();
    const auto rereadCommands = reread.allCommands();
    ASSERT_EQ(rereadCommands.size(), originalCommands.size());
    for (std::size_t i = 0; i < originalCommands.size(); ++i) {
        const ShellCommand& a = originalCommands[i].command;
        const ShellCommand& b = rereadCommands[i].command;
        EXPECT_EQ(rereadCommands[i].path, originalCommands[i].path);
        EXPECT_EQ(std::tie(a.title, a.command, a.icon, a.shortcut, a.workingDirectory,
                           a.requiresConfirmation),
                  std::tie(b.title, b.command, b.icon, b.shortcut, b.workingDirectory,
                           b.requiresConfirmation));
    }
    EXPECT_TRUE(reread.items[1].isSeparator());
    EXPECT_EQ(reread.items[2].group()->icon, "folder");
}

// The writer's string scanning may take sixteen bytes at a time, so a control character is
// written at every offset up to 40 of every kind of text. All texts go through one writer: no
// raw control character in the output shows each was escaped, two read back show how.
TEST(ConfigMigrator, escapesEveryControlCharacterWhereverItStands) {
    Configuration configuration;
    std::vector<std::string> texts;
    for (int byte = 0; byte < 0x20; ++byte) {
        for (std::size_t offset = 0; offset <= 40; ++offset) {
            std::string text = std::string(offset, 'k') + static_cast<char>(byte) + "k";
            texts.push_back(text);
            std::vector<MenuNode> commands;
            commands.push_back({ShellCommand(Uuid::random(), "t" + text, "c" + text, "i" + text,
                                             std::nullopt, "w" + text, std::nullopt)});
            configuration.items.push_back(test::group("g" + text, std::move(commands), text));
        }
    }
    configuration.settings.editor = EditorSetting::terminalEditor(texts.back());
    const std::string written = ConfigMigrator::makeV2JSON(configuration);
    EXPECT_EQ(
        std::count_if(written.begin(), written.end(),
                      [](char c) { return c != '\n' && static_cast<unsigned char>(c) < 0x20; }),
        0);

    const Configuration reread =
        ConfigurationLoader{SortMode::fileOrder, SortMode::fileOrder}.load(written);
    ASSERT_EQ(reread.items.size(), texts.size());
    EXPECT_EQ(reread.settings.editor, configuration.settings.editor);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const CommandGroup& group = *reread.items[i].group();
        const ShellCommand& command = *group.items.at(0).command();
        EXPECT_EQ(group.title, "g" + texts[i]);
        EXPECT_EQ(command.command, "c" + texts[i]);
    }
}

TEST(ConfigMigrator, everyTerminalProgramReadsBackAsItself) {
    const ConfigurationLoader loader{SortMode::fileOrder, SortMode::fileOrder};
    for (const TerminalKind kind : allTerminalKinds) {
        Configuration configuration = loader.load(R"({"items": []})");
        configuration.settings.terminal = kind;
        const Configuration reread = loader.load(ConfigMigrator::makeV2JSON(configuration));
        EXPECT_EQ(reread.settings.terminal, kind) << rawValue(kind);
        EXPECT_TRUE(reread.warnings.empty()) << rawValue(kind);
    }
}

class Migration : public ::testing::Test {
protected:
    const Configuration configuration =
        ConfigurationLoader{SortMode::fileOrder, SortMode::fileOrder}.load(legacyFile);

    std::string migrate(const fs::path& file) {
        try {
            ConfigMigrator::migrateInPlace(file, configuration);
        } catch (const FileError& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(Migration, ofALinkRewritesTheTargetAndBacksUpItsContent) {
    const TemporaryFolder folder;
    fs::create_directory(folder / "dotfiles");
    const fs::path target = folder.write("dotfiles/shuttle.json", legacyFile);
    fs::create_symlink(target, folder / "shuttle.json");

    EXPECT_EQ(migrate(folder / "shuttle.json"), "");
    EXPECT_TRUE(fs::is_symlink(folder / "shuttle.json"));
    EXPECT_EQ(contentOf(target), ConfigMigrator::makeV2JSON(configuration));
    EXPECT_FALSE(fs::is_symlink(folder / "shuttle.json.backup"));
    EXPECT_EQ(contentOf(folder / "shuttle.json.backup"), legacyFile);
}

TEST_F(Migration, failsWithoutHarmWhenTheFileIsMissingOrTheBackupIsAFolder) {
    const TemporaryFolder folder;
    folder.write("gone.json.backup", "keep me");
    EXPECT_EQ(migrate(folder / "gone.json"),
              "\u201E" + (folder / "gone.json").string() +
                  "\u201C konnte nicht gelesen werden: Datei oder Verzeichnis nicht gefunden");
    EXPECT_EQ(contentOf(folder / "gone.json.backup"), "keep me");

    const fs::path file = folder.write("k.json", legacyFile);
    fs::create_directories(folder / "k.json.backup/inside");
    EXPECT_EQ(migrate(file), "\u201E" + (folder / "k.json.backup").string() +
                                 "\u201C konnte nicht entfernt werden: Das Verzeichnis ist nicht "
                                 "leer");
    EXPECT_EQ(contentOf(file), legacyFile);
    EXPECT_TRUE(fs::exists(folder / "k.json.backup/inside"));
}

TEST_F(Migration, onAFullDiskKeepsTheOldFileOrACompleteBackup) {
    // Each file takes at least one 4 KiB page of the tmpfs.
    struct Case {
        std::size_t originalSize;
        bool backupFits;
    };
    for (const Case c : {Case{10 * 1024, false}, Case{100, true}}) {
        ScratchMount mount(16 * 1024);
        if (!mount.isMounted())
            GTEST_SKIP() << "mounting a tmpfs needs root";
        const std::string original = legacyFile + std::string(c.originalSize, ' ');
        const fs::path file = mount.path() / "shuttle.json";
        std::ofstream(file) << original;
        Configuration big = configuration;
        for (int i = 0; i < 200; ++i)
            big.items.push_back(configuration.items[0]);

        try {
            ConfigMigrator::migrateInPlace(file, big);
            ADD_FAILURE() << "the disk should have been full";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("kein Speicherplatz"), std::string::npos);
        }
        EXPECT_EQ(contentOf(file), original);
        const fs::path backup = mount.path() / "shuttle.json.backup";
        EXPECT_EQ(fs::exists(backup), c.backupFits);
        if (c.backupFits) {
            EXPECT_EQ(contentOf(backup), original);
        }
        const auto entries = std::distance(fs::directory_iterator(mount.path()), {});
        EXPECT_EQ(entries, c.backupFits ? 2 : 1) << "a temporary file was left behind";
    }
}

// The user's editor saves at the last moment before each comparison in turn: the save stays and
// the migration fails with a message. Up to the replacing of the backup nothing else changes.
TEST_F(Migration, keepsASaveMadeWhileItRuns) {
    for (const int saveBefore : {1, 2, 3}) {
        const TemporaryFolder folder;
        const fs::path file = folder.write("shuttle.json", legacyFile);
        folder.write("shuttle.json.backup", "an older backup");
        int comparisons = 0;
        const auto save = [&] {
            if (++comparisons == saveBefore)
                std::ofstream(file) << "saved by the editor";
        };
        try {
            ConfigMigrator::migrateInPlace(file, configuration, legacyFile, save);
            ADD_FAILURE() << "the save before comparison " << saveBefore << " went unnoticed";
        } catch (const FileError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "\u201E" + file.string() +
                          "\u201C konnte nicht geschrieben werden: Die Datei wurde w\u00E4hrend "
                          "der Migration ge\u00E4ndert \u2014 sie bleibt, wie sie gespeichert "
                          "wurde. Bitte erneut migrieren.");
        }
        EXPECT_EQ(contentOf(file), "saved by the editor");
        EXPECT_EQ(contentOf(folder / "shuttle.json.backup"),
                  saveBefore < 3 ? "an older backup" : legacyFile);
        EXPECT_EQ(folder.listing(), "shuttle.json shuttle.json.backup");
    }
}

// File systems hold names of at most 255 bytes; the backup's name gives up the end of the
// file's name rather than fail, and no temporary name is longer.
TEST_F(Migration, keepsABackupAndRestrictsTheNewFileWhateverTheNameLength) {
    EXPECT_EQ(ConfigMigrator::backupPath("/a/shuttle.json"), "/a/shuttle.json.backup");
    // The last name has an ä where the backup's name is cut.
    for (const std::string& fileName :
         {std::string("shuttle.json"), std::string(245, 'k') + ".json",
          std::string(247, 'k') + "\u00E4j"}) {
        const TemporaryFolder folder;
        const fs::path file = folder.write(fileName, legacyFile);
        fs::permissions(file, fs::perms(0664));
        const fs::path backup = ConfigMigrator::backupPath(file);
        folder.write(backup.filename().string(), "an older backup");

        EXPECT_EQ(migrate(file), "");
        EXPECT_LE(backup.filename().string().size(), 255U);
        EXPECT_TRUE(backup.filename().string().ends_with(".backup"));
        EXPECT_EQ(contentOf(backup), legacyFile);
        EXPECT_EQ(contentOf(file), ConfigMigrator::makeV2JSON(configuration));
        struct stat status {};
        ::stat(file.c_str(), &status);
        EXPECT_EQ(status.st_mode & 0777, 0600U);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);
    }
}

} // namespace
} // namespace kelvane
