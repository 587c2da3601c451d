#include "Kelvane/Menu/StatusIcon.hpp"

#include <QImage>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

struct Colours {
    bool dark = false;
    bool light = false;
    bool red = false;
};

Colours coloursOf(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    Colours found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = QColor::fromRgba(image.pixel(x, y));
            if (colour.alpha() < 200)
                continue;
            found.dark |= colour.lightness() < 90;
            found.light |= colour.lightness() > 200 && colour.saturation() < 40;
            found.red |= colour.red() > 180 && colour.green() < 80 && colour.blue() < 80;
        }
    }
    return found;
}

TEST(StatusIcon, readsOnLightAndDarkPanelsAndShowsAProblemInRed) {
    const StatusIcon icon = StatusIcon::fromGlyph(QIcon(":/MenuBarIcon"));
    for (const int size : {16, 22, 32}) {
        SCOPED_TRACE(size);
        const Colours normal = coloursOf(icon.normal, size);
        EXPECT_TRUE(normal.dark) << "stands out on a light panel";
        EXPECT_TRUE(normal.light) << "its edge stands out on a dark panel";
        EXPECT_FALSE(normal.red);
        EXPECT_TRUE(coloursOf(icon.problem, size).red) << "the problem badge";
        EXPECT_FALSE(coloursOf(icon.problem, size).dark) << "the glyph is dimmed";
    }
}

} // namespace
} // namespace kelvane
