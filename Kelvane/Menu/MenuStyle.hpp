#pragma once

#include <QStyle>

namespace kelvane {

/// The widget style of the status menu and its submenus: the application's style, except that a
/// menu taller than its screen scrolls rather than splitting into columns (so the fixed items
/// stay at its end), and Alt does not close a menu (it reveals the alternates instead). Owned by
/// the application.
QStyle& menuStyle();

} // namespace kelvane
