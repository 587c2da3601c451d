#include "Kelvane/platform/linux/JSONPreferenceStore.hpp"

#include "Kelvane/platform/Log.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(JSONPreferenceStore, keepsTypesAcrossInstances) {
    const test::TemporaryFolder folder;
    const auto file = folder / "nested/preferences.json";
    {
        JSONPreferenceStore store(file);
        store.setValue("flag", false);
        store.setValue("count", int64_t{-7});
        store.setValue("text", std::string("fileOrder \u00E4"));
        store.setValue("bytes", std::vector<uint8_t>{0, 255, 7});
        store.setValue("gone", true);
        store.removeValue("gone");
    }
    const JSONPreferenceStore reread(file);
    EXPECT_EQ(reread.value("flag"), PreferenceValue(false));
    EXPECT_EQ(reread.value("count"), PreferenceValue(int64_t{-7}));
    EXPECT_EQ(reread.value("text"), PreferenceValue(std::string("fileOrder \u00E4")));
    EXPECT_EQ(reread.value("bytes"), PreferenceValue(std::vector<uint8_t>{0, 255, 7}));
    EXPECT_EQ(reread.value("gone"), std::nullopt);
    EXPECT_EQ(folder.listing(), "nested");
}

TEST(JSONPreferenceStore, aBrokenFileReadsAsEmptyAndIsLogged) {
    const test::TemporaryFolder folder;
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) { logged.push_back(entry.message); });
    for (const char* content : {"{not json", "[1, 2]", "{\"a\": null, \"b\": {\"bytes\": 3}}"}) {
        const JSONPreferenceStore store(folder.write("p.json", content));
        EXPECT_EQ(store.value("a"), std::nullopt);
    }
    Log::setSink({});
    ASSERT_EQ(logged.size(), 1U);
    EXPECT_EQ(logged[0].rfind("Einstellungen konnten nicht gelesen werden: Zeile 1", 0), 0U);
}

} // namespace
} // namespace kelvane
