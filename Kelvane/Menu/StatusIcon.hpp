#pragma once

#include <QIcon>

namespace kelvane {

/// The status item's two looks, drawn from the application's glyph (its shape is the glyph's
/// alpha channel alone): dark with a light edge, so that it reads on light and dark panels alike,
/// and, while the configuration has a problem, dimmed with a red warning badge in its corner, so
/// that the problem shows at a glance and not only as a paler icon.
struct StatusIcon {
    QIcon normal;
    QIcon problem;

    static StatusIcon fromGlyph(const QIcon& glyph);
};

} // namespace kelvane
