#pragma once

#include <QPoint>
#include <QRect>

namespace kelvane::MenuPlacement {

/// Where a submenu of this width goes beside its parent menu: on the side the menus before it
/// opened to (right, unless `towardsLeft`) where it fits, else on the other side where that fits,
/// else on the roomier side pushed back onto the screen (covering the parent only then). Keeping
/// the side keeps a cascade that turned at a screen edge from coming back over the level before.
/// Gives the left edge.
int submenuLeft(const QRect& parent, int width, const QRect& screen, bool towardsLeft);

/// The top left of a menu moved just enough to lie within the screen, its top left corner
/// winning where the menu is bigger than the screen.
QPoint withinScreen(const QRect& menu, const QRect& screen);

} // namespace kelvane::MenuPlacement
