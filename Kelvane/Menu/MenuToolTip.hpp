#pragma once

#include <QFontMetrics>
#include <QString>

#include <string>

namespace kelvane {

/// A command line as a menu item's tooltip: on one line as it is written, broken at blanks (or
/// within a word longer than a line) only where it would be wider than the screen. Literal even
/// where it looks like markup.
QString menuToolTip(const std::string& text);

/// The lines of a text so broken that none is wider than `width` in these metrics, where that can
/// be done; its own line breaks stay.
QStringList linesWithin(const QString& text, const QFontMetrics& metrics, int width);

} // namespace kelvane
