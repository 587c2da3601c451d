#include "Kelvane/Menu/MenuPlacement.hpp"

#include <algorithm>

namespace kelvane::MenuPlacement {

int submenuLeft(const QRect& parent, int width, const QRect& screen, bool towardsLeft) {
    const int right = parent.right() + 1;
    const int left = parent.left() - width;
    const bool fitsRight = right + width <= screen.right() + 1;
    const bool fitsLeft = left >= screen.left();
    if (fitsLeft && (towardsLeft || !fitsRight))
        return left;
    if (fitsRight)
        return right;
    const int roomRight = screen.right() + 1 - right;
    const int roomLeft = parent.left() - screen.left();
    return roomRight >= roomLeft ? std::max(screen.left(), screen.right() + 1 - width)
                                 : screen.left();
}

QPoint withinScreen(const QRect& menu, const QRect& screen) {
    const auto clamp = [](int start, int length, int low, int high) {
        return std::max(low, std::min(start, high + 1 - length));
    };
    return {clamp(menu.left(), menu.width(), screen.left(), screen.right()),
            clamp(menu.top(), menu.height(), screen.top(), screen.bottom())};
}

} // namespace kelvane::MenuPlacement
