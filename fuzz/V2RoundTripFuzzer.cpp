#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <vector>

using namespace kelvane;

namespace {

bool sameNodes(const std::vector<MenuNode>& a, const std::vector<MenuNode>& b);

// Everything the version 2 format holds, which is all but the ids.
bool sameNode(const MenuNode& a, const MenuNode& b) {
    if (const ShellCommand* x = a.command()) {
        const ShellCommand* y = b.command();
        return y != nullptr && std::tie(x->title, x->command, x->icon, x->shortcut,
                                        x->workingDirectory, x->requiresConfirmation) ==
                                   std::tie(y->title, y->command, y->icon, y->shortcut,
                                            y->workingDirectory, y->requiresConfirmation);
    }
    if (const CommandGroup* x = a.group()) {
        const CommandGroup* y = b.group();
        return y != nullptr && std::tie(x->title, x->icon) == std::tie(y->title, y->icon) &&
               sameNodes(x->items, y->items);
    }
    return b.isSeparator();
}

bool sameNodes(const std::vector<MenuNode>& a, const std::vector<MenuNode>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameNode(a[i], b[i]))
            return false;
    return true;
}

} // namespace

// Whatever loads, written in version 2, loads again as the same menu and settings (apart from
// the launch wish, which the format does not hold): a migration changes nothing the user sees.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const SortMode mode = size % 2 == 0 ? SortMode::alphabetical : SortMode::fileOrder;
    const ConfigurationLoader loader{mode, mode};
    Configuration original;
    try {
        original = loader.load(input);
    } catch (const ConfigurationError&) {
        return 0;
    }
    const Configuration reread = loader.load(ConfigMigrator::makeV2JSON(original));
    ConfigurationSettings expectedSettings = original.settings;
    expectedSettings.launchAtLogin = std::nullopt;
    if (reread.format != ConfigurationFormat::v2 || reread.settings != expectedSettings ||
        !sameNodes(reread.items, original.items))
        std::abort();
    return 0;
}
