#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

namespace kelvane::QuickSearchStyle {

/// The levels of emphasis the panel's texts and fills use, from plain text down to the faint
/// fill behind a key cap.
enum class Emphasis { primary, secondary, tertiary, quaternary };

/// The palette's text colour, made fainter for each level of emphasis below the primary.
QColor labelColor(const QPalette& palette, Emphasis emphasis);

/// Gives `widget` the text colour of `emphasis`.
void setTextEmphasis(QWidget& widget, Emphasis emphasis);

/// The palette's highlight colour at the opacity a selected row is underlaid with.
QColor selectionFill(const QPalette& palette);

/// The application font at `pixelSize` pixels: the panel keeps its proportions on every screen,
/// as its size is given in pixels too.
QFont systemFont(int pixelSize, QFont::Weight weight = QFont::Normal);

/// The system's fixed-pitch font at `pixelSize` pixels.
QFont monospacedFont(int pixelSize);

} // namespace kelvane::QuickSearchStyle
