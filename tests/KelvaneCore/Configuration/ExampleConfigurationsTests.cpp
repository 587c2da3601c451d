#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

const std::filesystem::path examples = KELVANE_EXAMPLES_DIR;

TEST(ExampleConfigurations, loadWithoutWarningsInEverySortMode) {
    struct Case {
        const char* name;
        ConfigurationFormat format;
        std::size_t commandCount;
    };
    const Case cases[] = {{"kelvane.json", ConfigurationFormat::v2, 13},
                          {"shuttle.json", ConfigurationFormat::legacyShuttle, 9}};
    for (const Case& c : cases) {
        for (const SortMode mode : allSortModes) {
            const Configuration configuration =
                ConfigurationLoader{mode, mode}.loadContentsOf(examples / c.name);
            EXPECT_EQ(configuration.format, c.format) << c.name;
            EXPECT_TRUE(configuration.warnings.empty()) << c.name;
            EXPECT_EQ(configuration.allCommands().size(), c.commandCount) << c.name;
            EXPECT_EQ(configuration.settings.openIn, OpenBehavior::tab) << c.name;
        }
    }
}

} // namespace
} // namespace kelvane
