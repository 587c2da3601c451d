#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"

#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane::ConfigTrustCheck {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t user = 501;
constexpr std::uint32_t stranger = 12345;

// Real files with real owners and modes in a fresh folder; setting other owners needs root.
class ConfigTrustCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "setting file owners needs root";
    }

    fs::path folder(const std::string& name, mode_t mode) {
        const fs::path path = m_root / name;
        fs::create_directories(path);
        set(path, user, mode);
        return path;
    }

    fs::path file(const fs::path& folder, std::uint32_t owner, mode_t mode) {
        const fs::path path = folder / "config.json";
        std::ofstream(path) << "{}";
        set(path, owner, mode);
        return path;
    }

    static void set(const fs::path& path, std::uint32_t owner, mode_t mode) {
        ASSERT_EQ(::chown(path.c_str(), owner, 0), 0) << path;
        ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
    }

    const test::TemporaryFolder m_temporary;
    const fs::path m_root = fs::canonical(m_temporary.path());
};

TEST_F(ConfigTrustCheckTest, reportsForeignOwnersAndWriteBitsInOrder) {
    const fs::path safe = folder("safe", 0700);
    using K = std::vector<Issue::Kind>;
    const std::tuple<std::uint32_t, mode_t, K> cases[] = {
        {user, 0644, {}},
        {0, 0755, {}},
        {user, 0400, {}},
        {stranger, 0644, {Issue::NotOwnedByUser{stranger}}},
        {user, 0664, {Issue::GroupWritable{}}},
        {user, 0646, {Issue::WorldWritable{}}},
        {stranger,
         0777,
         {Issue::NotOwnedByUser{stranger}, Issue::GroupWritable{}, Issue::WorldWritable{}}},
    };
    for (const auto& [owner, mode, kinds] : cases) {
        const fs::path path = file(safe, owner, mode);
        std::vector<Issue> expected;
        for (const Issue::Kind& kind : kinds)
            expected.push_back({kind, path.string()});
        EXPECT_EQ(inspect(path, user).issues, expected) << owner << " " << std::oct << mode;
        EXPECT_EQ(inspect(path, user).isTrusted(), kinds.empty());
    }
}

TEST_F(ConfigTrustCheckTest, distrustsFoldersOthersCanWriteUnlessSticky) {
    struct Case {
        mode_t mode;
        bool trusted;
    };
    const Case cases[] = {{0755, true}, {0775, false}, {0757, false}, {01777, true}};
    for (const Case& c : cases) {
        const fs::path shared = folder("shared", c.mode);
        const fs::path path = file(shared, user, 0600);
        const Verdict verdict = inspect(path, user);
        EXPECT_EQ(verdict.isTrusted(), c.trusted) << std::oct << c.mode;
        if (!c.trusted) {
            EXPECT_EQ(verdict.issues,
                      (std::vector<Issue>{{Issue::ParentDirectoryWritableByOthers{shared.string()},
                                           path.string()}}));
        }
    }
}

TEST_F(ConfigTrustCheckTest, judgesTheTargetOfSymbolicLinksAndItsFolder) {
    const fs::path open = folder("open", 0777);
    const fs::path target = file(open, stranger, 0666);
    const fs::path links = folder("links", 0755);
    fs::create_symlink(target, links / "config.json");
    fs::create_directory_symlink(open, links / "via");

    const std::string path = target.string();
    const std::vector<Issue> expected = {
        {Issue::NotOwnedByUser{stranger}, path},
        {Issue::GroupWritable{}, path},
        {Issue::WorldWritable{}, path},
        {Issue::ParentDirectoryWritableByOthers{open.string()}, path},
    };
    EXPECT_EQ(inspect(links / "config.json", user).issues, expected);
    EXPECT_EQ(inspect(links / "via" / "config.json", user).issues, expected);

    // A link that lies in an open folder but points into a safe one is judged by the target.
    const fs::path safe = folder("safe", 0755);
    const fs::path safeTarget = file(safe, user, 0600);
    fs::create_symlink(safeTarget, open / "link.json");
    EXPECT_TRUE(inspect(open / "link.json", user).isTrusted());
}

TEST_F(ConfigTrustCheckTest, checksOnlyTheFolderWhenTheFileIsMissing) {
    EXPECT_TRUE(inspect(m_root / "no" / "such" / "config.json", user).isTrusted());
    const fs::path open = folder("open", 0777);
    EXPECT_EQ(inspect(open / "missing.json", user).issues,
              (std::vector<Issue>{{Issue::ParentDirectoryWritableByOthers{open.string()},
                                   (open / "missing.json").string()}}));
    // A link to nowhere counts as a missing file.
    fs::create_symlink(m_root / "nowhere", folder("safe", 0755) / "dangling.json");
    EXPECT_TRUE(inspect(m_root / "safe" / "dangling.json", user).isTrusted());
    // So does a loop of links, whose folder is still examined.
    fs::create_symlink(open / "b.json", open / "a.json");
    fs::create_symlink(open / "a.json", open / "b.json");
    EXPECT_EQ(inspect(open / "a.json", user).issues,
              (std::vector<Issue>{{Issue::ParentDirectoryWritableByOthers{open.string()},
                                   (open / "a.json").string()}}));
}

TEST(ConfigTrustCheckIssue, describesItselfInGermanWithAFix) {
    const std::string f = "/Users/kim/it's here/config.json";
    const std::string quotedF = "'/Users/kim/it'\\''s here/config.json'";
    struct Case {
        Issue issue;
        std::string message;
        std::string fixCommand;
    };
    const Case cases[] = {
        {{Issue::NotOwnedByUser{502}, f},
         "\u201E" + f + "\u201C geh\u00F6rt Benutzer-ID 502, nicht dir.",
         "sudo chown \"$(id -un)\" " + quotedF},
        {{Issue::ParentDirectoryWritableByOthers{"/Users/kim/it's here"}, f},
         "Der Ordner \u201E/Users/kim/it's here\u201C ist f\u00FCr andere beschreibbar.",
         "chmod 755 '/Users/kim/it'\\''s here'"},
        {{Issue::GroupWritable{}, f},
         "\u201E" + f + "\u201C ist f\u00FCr die Gruppe beschreibbar.",
         "chmod 600 " + quotedF},
        {{Issue::WorldWritable{}, f},
         "\u201E" + f + "\u201C ist f\u00FCr alle beschreibbar.",
         "chmod 600 " + quotedF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.issue.message(), c.message);
        EXPECT_EQ(c.issue.fixCommand(), c.fixCommand);
    }
}

} // namespace
} // namespace kelvane::ConfigTrustCheck
