#include "Kelvane/Menu/MenuToolTip.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

namespace kelvane {
namespace {

/// The longest start of `text` that fits, at least one character so that breaking ends.
qsizetype fittingLength(const QString& text, const QFontMetrics& metrics, int width) {
    qsizetype length = 1;
    while (length < text.size() && metrics.horizontalAdvance(text.left(length + 1)) <= width)
        ++length;
    return length;
}

void appendBroken(QStringList& lines, const QString& line, const QFontMetrics& metrics, int width) {
    QString current;
    for (QString word : line.split(u' ')) {
        const QString joined = current.isEmpty() ? word : current + u' ' + word;
        if (metrics.horizontalAdvance(joined) <= width) {
            current = joined;
            continue;
        }
        if (!current.isEmpty())
            lines.append(current);
        while (metrics.horizontalAdvance(word) > width) {
            const qsizetype length = fittingLength(word, metrics, width);
            lines.append(word.left(length));
            word.remove(0, length);
        }
        current = word;
    }
    lines.append(current);
}

} // namespace

QStringList linesWithin(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        if (metrics.horizontalAdvance(line) <= width)
            lines.append(line);
        else
            appendBroken(lines, line, metrics, width);
    }
    return lines;
}

QString menuToolTip(const std::string& text) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Room for the tooltip's frame and margins on both sides.
    const int width = screen ? screen->geometry().width() - 32 : 1000;
    const QStringList lines =
        linesWithin(QString::fromStdString(text), QFontMetrics(QToolTip::font()), width);
    // Tooltips are taken as rich text when they look like markup, which commands often do ("<",
    // "&"); as markup, "pre" keeps the line as one and its blanks as they are.
    return "<p style='white-space:pre'>" + lines.join(u'\n').toHtmlEscaped() + "</p>";
}

} // namespace kelvane
