#pragma once

#include "Kelvane/Menu/MenuModel.hpp"

#include <QKeySequence>
#include <QMenu>

#include <functional>
#include <memory>
#include <optional>

namespace kelvane {

/// Called when an item with an action is chosen, with the item's command if it carries one.
using MenuPerform = std::function<void(MenuAction, const std::optional<ShellCommand>&)>;

/// The Qt menu for a menu model. Alternate items stay hidden, and their primary items shown,
/// except while Alt (Option) is held in the menu or in one of its submenus. A submenu's items are
/// made when it is first about to show. While the menu or a submenu is open, the key equivalent of
/// any item of the tree, in a submenu not yet made too, chooses that item and closes the menu.
std::unique_ptr<QMenu> makeQMenu(MenuModel model, MenuPerform perform);

/// The key sequence of a key equivalent: Command becomes Ctrl, Control becomes Meta, Option
/// becomes Alt. Empty for an equivalent without a key.
QKeySequence keySequence(const MenuKeyEquivalent& equivalent);

} // namespace kelvane
