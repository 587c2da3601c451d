#pragma once

#include <QPoint>
#include <QRect>

namespace kelvane::MenuPlacement {

/// Where a submenu of this width goes beside its parent menu: to the right where it fits, else to
/// the left where that fits, else on the roomier side pushed back onto the screen (covering the
/// parent only then). Gives the left edge.
int submenuLeft(const QRect& parent, int width, const QRect& screen);

/// The top left of a menu moved just enough to lie within the screen, its top left corner
/// winning where the menu is bigger than the screen.
QPoint withinScreen(const QRect& menu, const QRect& screen);

} // namespace kelvane::MenuPlacement
