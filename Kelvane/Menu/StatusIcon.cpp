#include "Kelvane/Menu/StatusIcon.hpp"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace kelvane {
namespace {

constexpr std::array sizes{16, 22, 24, 32, 48, 64};
const QColor glyphColor(0x3d, 0x42, 0x47);
const QColor edgeColor(0xf6, 0xf5, 0xf4);
const QColor dimmedColor(0x9a, 0x9e, 0xa3);
const QColor badgeColor(0xe0, 0x1b, 0x24);

/// The glyph's shape at `size`, filled with one colour.
QImage tinted(const QIcon& glyph, int size, const QColor& color) {
    QImage image =
        glyph.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

/// The glyph in `color` over a one-pixel edge of the panel's opposite, drawn a step smaller so
/// that the edge stays inside the icon.
QImage withEdge(const QIcon& glyph, int size, const QColor& color) {
    const int inner = size - 2;
    const QImage edge = tinted(glyph, inner, edgeColor);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const QPoint offset : {QPoint(0, 1), QPoint(2, 1), QPoint(1, 0), QPoint(1, 2)})
        painter.drawImage(offset, edge);
    painter.drawImage(QPoint(1, 1), tinted(glyph, inner, color));
    return image;
}

/// A red disc with a white exclamation mark in the lower right quarter.
void paintBadge(QImage& image) {
    const qreal size = image.width();
    const qreal diameter = size * 0.5;
    const QRectF disc(size - diameter, size - diameter, diameter, diameter);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(edgeColor, std::max(1.0, size / 32)));
    painter.setBrush(badgeColor);
    painter.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const qreal stroke = std::max(1.5, diameter / 7);
    const qreal x = disc.center().x() - stroke / 2;
    painter.drawRect(QRectF(x, disc.top() + diameter * 0.2, stroke, diameter * 0.38));
    painter.drawRect(QRectF(x, disc.top() + diameter * 0.66, stroke, stroke));
}

} // namespace

StatusIcon StatusIcon::fromGlyph(const QIcon& glyph) {
    StatusIcon icon;
    for (const int size : sizes) {
        icon.normal.addPixmap(QPixmap::fromImage(withEdge(glyph, size, glyphColor)));
        QImage problem = withEdge(glyph, size, dimmedColor);
        paintBadge(problem);
        icon.problem.addPixmap(QPixmap::fromImage(problem));
    }
    return icon;
}

} // namespace kelvane
