#include "Kelvane/Startup/SingleInstance.hpp"

#include "Kelvane/platform/Log.hpp"

#include "support/TemporaryFolder.hpp"

#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() {
        Log::setSink([this](const Log::Entry& entry) { logged.push_back(entry.message); });
    }
    ~SingleInstanceTest() override { Log::setSink({}); }

    test::TemporaryFolder folder;
    QString name = QString::fromStdString((folder / "kelvane").string());
    std::vector<std::string> logged;
};

// The first start finds a socket left by a Kelvane that crashed: it must not block it.
TEST_F(SingleInstanceTest, aSecondStartHandsTheMenuRequestToTheFirstAndEnds) {
    folder.write("kelvane", "");
    SingleInstance first(name);
    int menuRequests = 0;
    QObject::connect(&first, &SingleInstance::menuRequested, [&] { ++menuRequests; });
    ASSERT_TRUE(first.claim());
    EXPECT_TRUE(logged.empty());

    SingleInstance second(name);
    EXPECT_FALSE(second.claim());
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], "Kelvane l\u00E4uft bereits: Die laufende Instanz \u00F6ffnet ihr "
                         "Men\u00FC, dieser Start endet.");
    EXPECT_TRUE(QTest::qWaitFor([&] { return menuRequests == 1; }, 5000));
    EXPECT_EQ(logged.back(), "Kelvane wurde erneut gestartet: Das Men\u00FC wird ge\u00F6ffnet.");
}

TEST(SingleInstanceName, isPrivateToTheUserAndDiffersPerConfigurationFolder) {
    const QString name = SingleInstance::serverName("/home/a/.config/Kelvane");
    EXPECT_TRUE(
        name.startsWith(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/"));
    EXPECT_NE(name, SingleInstance::serverName("/tmp/test-home/.config/Kelvane"));
    EXPECT_EQ(name, SingleInstance::serverName("/home/a/.config/Kelvane"));
}

} // namespace
} // namespace kelvane
