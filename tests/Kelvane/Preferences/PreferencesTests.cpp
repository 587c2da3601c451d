#include "Kelvane/Preferences/Preferences.hpp"

#include "support/InMemoryPreferenceStore.hpp"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Preferences, unexpectedStoredValuesReadAsDefaults) {
    test::InMemoryPreferenceStore store;
    const Preferences preferences(store);
    store.values["sortMode"] = std::string("Alphabetical");
    EXPECT_EQ(preferences.sortMode(), SortMode::alphabetical);
    store.values["sortMode"] = std::string("fileOrder");
    EXPECT_EQ(preferences.sortMode(), SortMode::fileOrder);
    store.values["openInOverride"] = std::string("Tab");
    EXPECT_EQ(preferences.openInOverride(), std::nullopt);
    store.values["riskConfirmationEnabled"] = int64_t{0};
    EXPECT_TRUE(preferences.riskConfirmationEnabled());
    store.values["quickSearchHotKey"] = std::string("49");
    EXPECT_EQ(preferences.quickSearchHotKey(), std::nullopt);
    store.values["configPath"] = true;
    EXPECT_EQ(preferences.configPath(), std::nullopt);
}

TEST(Preferences, writesStoreTypedValuesAndSignalEveryWrite) {
    test::InMemoryPreferenceStore store;
    Preferences preferences(store);
    QSignalSpy sortChanges(&preferences, &Preferences::sortModeChanged);
    SortMode seenInSlot = SortMode::alphabetical;
    QObject::connect(&preferences, &Preferences::sortModeChanged,
                     [&] { seenInSlot = preferences.sortMode(); });
    preferences.setSortMode(SortMode::fileOrder);
    preferences.setSortMode(SortMode::fileOrder);
    EXPECT_EQ(sortChanges.count(), 2);
    EXPECT_EQ(seenInSlot, SortMode::fileOrder) << "observers must see the new value";
    EXPECT_EQ(store.values.at("sortMode"), PreferenceValue(std::string("fileOrder")));

    preferences.setQuickSearchHotKey(HotKeyCombination{49, 2304});
    EXPECT_EQ(store.values.at("quickSearchHotKey"), PreferenceValue(std::string("49,2304")));

    preferences.setConfigPath("/tmp/k.json");
    QSignalSpy pathChanges(&preferences, &Preferences::configPathChanged);
    preferences.setConfigPath(std::nullopt);
    EXPECT_EQ(pathChanges.count(), 1);
    EXPECT_FALSE(store.values.contains("configPath"));
    preferences.setQuickSearchHotKey(std::nullopt);
    preferences.setOpenInOverride(std::nullopt);
    EXPECT_FALSE(store.values.contains("quickSearchHotKey"));
    EXPECT_FALSE(store.values.contains("openInOverride"));
}

} // namespace
} // namespace kelvane
