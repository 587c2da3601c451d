#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
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
    fs::create_symlink("../open/./config.json", links / "relative.json");
    EXPECT_EQ(inspect(links / "relative.json", user).issues, expected);

    // Anyone may point a link in an open folder elsewhere, whatever it points to now.
    const fs::path safe = folder("safe", 0755);
    const fs::path safeTarget = file(safe, user, 0600);
    fs::create_symlink(safeTarget, open / "link.json");
    EXPECT_EQ(inspect(open / "link.json", user).issues,
              (std::vector<Issue>{
                  {Issue::ParentDirectoryWritableByOthers{open.string()}, safeTarget.string()}}));
}

TEST_F(ConfigTrustCheckTest, judgesEveryFolderAndLinkOnTheWayNearestFirst) {
    const auto owned = [](const fs::path& path, std::uint32_t owner, mode_t mode) {
        set(path, owner, mode);
        return path;
    };
    // A stranger's folder, sticky or not, is his to empty and refill.
    for (const mode_t mode : {0755, 01777}) {
        const fs::path theirs = owned(folder("theirs", 0), stranger, mode);
        const fs::path path = file(theirs, user, 0600);
        EXPECT_EQ(inspect(path, user).issues,
                  (std::vector<Issue>{
                      {Issue::DirectoryNotOwnedByUser{theirs.string(), stranger}, path.string()}}))
            << std::oct << mode;
    }
    // A sticky folder of the superuser, like /tmp, keeps others' hands off the user's file.
    EXPECT_TRUE(inspect(file(owned(folder("shared", 0), 0, 01777), 0, 0644), user).isTrusted());

    // Every folder up to the root counts, not only the file's own.
    const fs::path open = owned(folder("open", 0), stranger, 0777);
    const fs::path inner = owned(folder("open/inner", 0), stranger, 0755);
    const fs::path path = file(inner, stranger, 0666);
    const std::string f = path.string();
    EXPECT_EQ(inspect(path, user).issues,
              (std::vector<Issue>{
                  {Issue::NotOwnedByUser{stranger}, f},
                  {Issue::GroupWritable{}, f},
                  {Issue::WorldWritable{}, f},
                  {Issue::DirectoryNotOwnedByUser{inner.string(), stranger}, f},
                  {Issue::DirectoryNotOwnedByUser{open.string(), stranger}, f},
                  {Issue::ParentDirectoryWritableByOthers{open.string()}, f},
              }));

    // A stranger's link in a safe folder: he may point it elsewhere.
    const fs::path safe = folder("safe", 0755);
    const fs::path target = file(folder("target", 0700), user, 0600);
    const fs::path link = safe / "link.json";
    fs::create_symlink(target, link);
    ASSERT_EQ(::lchown(link.c_str(), stranger, 0), 0);
    EXPECT_EQ(inspect(link, user).issues,
              (std::vector<Issue>{
                  {Issue::LinkNotOwnedByUser{link.string(), stranger}, target.string()}}));
}

// What was judged is what is read: the open file stays the judged one, whatever happens to the
// names after the walk, and the walk itself never looks a name up twice.
TEST_F(ConfigTrustCheckTest, theOpenedFileIsTheJudgedOneAfterAFolderSwapOrALinkFlip) {
    const fs::path safe = folder("safe", 0700);
    const fs::path mine = file(safe, user, 0600);
    const fs::path attacker = folder("attacker", 0755);
    std::ofstream(attacker / "config.json") << "{\"evil\": 1}";
    const fs::path link = folder("links", 0755) / "config.json";
    fs::create_symlink(mine, link);

    for (const fs::path& configured : {mine, link}) {
        OpenedFile opened = openInspected(configured, user);
        ASSERT_TRUE(opened.verdict.isTrusted());
        ASSERT_TRUE(opened.descriptor.isOpen()) << opened.error;
        EXPECT_EQ(opened.path, mine.string());
        if (configured == link) {
            fs::remove(link);
            fs::create_symlink(attacker / "config.json", link);
        } else {
            fs::rename(safe, m_root / "away");
            fs::rename(attacker, safe);
        }
        EXPECT_EQ(FileAccess::readOpenFile(opened.descriptor.get(), configured), "{}");
        if (configured == mine) {
            fs::rename(safe, attacker);
            fs::rename(m_root / "away", safe);
        }
    }
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
        {{Issue::DirectoryNotOwnedByUser{"/Users/kim/it's here", 502}, f},
         "Der Ordner \u201E/Users/kim/it's here\u201C geh\u00F6rt Benutzer-ID 502, nicht dir.",
         "sudo chown \"$(id -un)\" '/Users/kim/it'\\''s here'"},
        {{Issue::LinkNotOwnedByUser{"/Users/kim/link", 502}, f},
         "Der symbolische Link \u201E/Users/kim/link\u201C geh\u00F6rt Benutzer-ID 502, nicht dir.",
         "sudo chown -h \"$(id -un)\" '/Users/kim/link'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.issue.message(), c.message);
        EXPECT_EQ(c.issue.fixCommand(), c.fixCommand);
    }
}

} // namespace
} // namespace kelvane::ConfigTrustCheck
