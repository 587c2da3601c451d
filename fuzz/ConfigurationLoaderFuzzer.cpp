#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace kelvane;

// Any bytes either load or fail with a ConfigurationError; whatever loads can be written as a
// version 2 file that loads again to the same number of commands.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const SortMode mode = size % 2 == 0 ? SortMode::alphabetical : SortMode::fileOrder;
    const ConfigurationLoader loader{mode, mode};
    Configuration configuration;
    try {
        configuration = loader.load(input);
    } catch (const ConfigurationError&) {
        return 0;
    }
    const Configuration reread = loader.load(ConfigMigrator::makeV2JSON(configuration));
    if (reread.format != ConfigurationFormat::v2 ||
        reread.allCommands().size() != configuration.allCommands().size())
        std::abort();
    return 0;
}
