#include "Kelvane/Store/ConfigFileWatcher.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/EditorSaves.hpp"
#include "support/TemporaryFolder.hpp"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

void append(const fs::path& file) {
    std::ofstream(file, std::ios::app) << ' ';
}

class ConfigFileWatcherTest : public ::testing::Test {
protected:
    void watch(const fs::path& path) {
        watcher = std::make_unique<ConfigFileWatcher>(path, [this] { ++callbacks; });
    }

    // The kernel queues events during the system calls, so once the callback came, no event of
    // the changes made before can still be on its way.
    void expectOneCallback(const std::string& after) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return callbacks > 0; }, 5000))
            << "no callback after " << after;
        QCoreApplication::processEvents();
        EXPECT_EQ(callbacks, 1) << after;
        EXPECT_FALSE(watcher->hasPendingChange()) << "still busy after " << after;
        callbacks = 0;
    }

    void expectNoCallback(const std::string& after) {
        QCoreApplication::processEvents();
        EXPECT_FALSE(watcher->hasPendingChange()) << after;
        EXPECT_EQ(callbacks, 0) << after;
    }

    test::TemporaryFolder folder;
    fs::path file = folder.write("kelvane.json", "{}");
    int callbacks = 0;
    std::unique_ptr<ConfigFileWatcher> watcher;
};

using SaveCase = std::tuple<test::EditorSave, bool>;

class EditorSavesTest : public ConfigFileWatcherTest,
                        public ::testing::WithParamInterface<SaveCase> {};

// The second save matters most: it shows that the watch moved on to the new file.
TEST_P(EditorSavesTest, everySaveGivesOneCallback) {
    const auto& [editor, settle] = GetParam();
    const std::function<void()> between = [settle = settle] {
        if (settle)
            QCoreApplication::processEvents();
    };
    watch(file);
    editor.save(file, "{\"version\": 2}\n", between);
    expectOneCallback("the first save");
    editor.save(file, "{\"version\": 2, \"items\": []}\n", between);
    expectOneCallback("the second save");
    append(file);
    expectOneCallback("a write after the saves");
    EXPECT_TRUE(watcher->isWatchingFile());
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorSavesTest,
                         ::testing::Combine(::testing::ValuesIn(test::editorSaves),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "_stepByStep" : "_atOnce");
                         });

TEST_F(ConfigFileWatcherTest, aBurstOfWritesGivesOneCallbackAQuietPeriodAfterTheLast) {
    QElapsedTimer sinceLastWrite;
    qint64 quietFor = -1;
    watcher = std::make_unique<ConfigFileWatcher>(file, [&] {
        ++callbacks;
        quietFor = sinceLastWrite.elapsed();
    });
    for (int index = 0; index < 1000; ++index) {
        append(file);
        QCoreApplication::processEvents();
    }
    sinceLastWrite.start();
    expectOneCallback("1,000 writes");
    EXPECT_GE(quietFor, ConfigFileWatcher::defaultQuietPeriod.count());
}

TEST_F(ConfigFileWatcherTest, aFileThatAppearsLaterIsPickedUpThroughTheFolder) {
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) {
        if (entry.level == Log::Level::debug)
            logged.push_back(std::string(entry.category) + ": " + entry.message);
    });
    fs::remove(file);
    watch(file);
    Log::setSink({});
    EXPECT_FALSE(watcher->isWatchingFile());
    EXPECT_EQ(logged, std::vector<std::string>{
                          "watcher: Datei noch nicht vorhanden \u2014 warte auf das Verzeichnis."});
    test::writeFile(file, "{}");
    expectOneCallback("creating the file");
    EXPECT_TRUE(watcher->isWatchingFile());
}

// A folder that others may write to makes the file untrusted; the reload has to see that.
TEST_F(ConfigFileWatcherTest, neighboursCountWhenTheyComeOrGoAndTheFoldersModeAlways) {
    const fs::path neighbour = folder.write("notes.txt", "");
    watch(file);
    append(neighbour);
    expectNoCallback("writing a neighbour");
    fs::remove(neighbour);
    expectOneCallback("removing a neighbour");
    fs::permissions(folder.path(), fs::perms(0770));
    expectOneCallback("chmod g+w on the folder");
}

TEST_F(ConfigFileWatcherTest, aSymbolicLinkIsFollowedToItsTargetAndItsTargetFolder) {
    const test::TemporaryFolder elsewhere;
    const fs::path target = elsewhere.write("real.json", "{}");
    fs::remove(file);
    fs::create_symlink(target, file);
    watch(file);

    append(target);
    expectOneCallback("writing the target");
    test::editorSaves[0].save(target, "{}", [] {});
    expectOneCallback("renaming a new target over the old one");
    append(target);
    expectOneCallback("writing the new target");
    fs::remove(target);
    expectOneCallback("deleting the target");
    EXPECT_FALSE(watcher->isWatchingFile());
    test::writeFile(target, "{}");
    expectOneCallback("re-creating the target");
    EXPECT_TRUE(watcher->isWatchingFile());

    elsewhere.write("notes.json", "{}");
    expectOneCallback("a new file beside the target");
    // Into a folder of its own: the watch of the target's folder has to move along.
    const test::TemporaryFolder third;
    const fs::path other = third.write("other.json", "{}");
    fs::create_symlink(other, folder / "link.tmp");
    fs::rename(folder / "link.tmp", file);
    expectOneCallback("pointing the link elsewhere");
    append(other);
    expectOneCallback("writing the new target");
    fs::remove(other);
    expectOneCallback("deleting the new target");
    test::writeFile(other, "{}");
    expectOneCallback("re-creating the new target");
    append(target);
    expectNoCallback("writing the former target");
}

TEST_F(ConfigFileWatcherTest, stopDropsThePendingCallbackAndEveryWatch) {
    watch(file);
    append(file);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher->hasPendingChange(); }, 5000));
    watcher->stop();
    EXPECT_FALSE(watcher->hasPendingChange());
    EXPECT_FALSE(watcher->isWatchingFile());
    append(file);
    fs::remove(file);
    expectNoCallback("changes after stop");
}

} // namespace
} // namespace kelvane
