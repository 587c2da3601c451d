#pragma once

#include "Kelvane/Menu/MenuModel.hpp"

#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include <QMenu>

#include <functional>
#include <memory>
#include <optional>

namespace kelvane {

/// How the menu's items reach their owner, and how the items look.
struct MenuActions {
    /// Called on the main thread with the chosen item's action and, for `runCommand` and
    /// `copyCommand`, its command.
    std::function<void(MenuAction, const std::optional<ShellCommand>&)> perform;
    /// The tooltip preference as it is at the moment of the rebuild.
    bool showCommandTooltips = true;
};

/// Turns the current configuration and the store's problem into the status menu. Reads nothing
/// else and changes nothing.
namespace MenuBuilder {

/// The menu as data: the problem item, the entries (or the loading or empty notice), the
/// warnings item and the fixed items for editing, reloading, searching, settings, About and
/// quitting.
MenuModel menuModel(const std::optional<Configuration>& configuration,
                    const std::optional<ConfigurationProblem>& problem, bool showCommandTooltips);

/// The same menu as a Qt menu whose items call `actions.perform`.
std::unique_ptr<QMenu> buildMenu(const std::optional<Configuration>& configuration,
                                 const std::optional<ConfigurationProblem>& problem,
                                 const MenuActions& actions);

} // namespace MenuBuilder
} // namespace kelvane
