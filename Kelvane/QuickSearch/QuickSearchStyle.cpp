#include "Kelvane/QuickSearch/QuickSearchStyle.hpp"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

namespace kelvane::QuickSearchStyle {

QColor labelColor(const QPalette& palette, Emphasis emphasis) {
    QColor color = palette.color(QPalette::WindowText);
    switch (emphasis) {
    case Emphasis::primary:
        break;
    case Emphasis::secondary:
        color.setAlphaF(0.55f);
        break;
    case Emphasis::tertiary:
        color.setAlphaF(0.4f);
        break;
    case Emphasis::quaternary:
        color.setAlphaF(0.12f);
        break;
    }
    return color;
}

void setTextEmphasis(QWidget& widget, Emphasis emphasis) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, labelColor(palette, emphasis));
    widget.setPalette(palette);
}

QColor selectionFill(const QPalette& palette) {
    QColor color = palette.color(QPalette::Highlight);
    color.setAlphaF(0.22f);
    return color;
}

QFont systemFont(int pixelSize, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont monospacedFont(int pixelSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace kelvane::QuickSearchStyle
