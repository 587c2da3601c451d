#include "Kelvane/QuickSearch/QuickSearchFooter.hpp"

#include "Kelvane/QuickSearch/QuickSearchStyle.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include <QHBoxLayout>
#include <QLabel>

namespace kelvane {

using QuickSearchStyle::Emphasis;

QuickSearchFooter::QuickSearchFooter(QWidget* parent) : QWidget(parent) {
    setObjectName("quickSearchFooter");
    setFont(QuickSearchStyle::systemFont(11));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 8, 14, 8);
    layout->setSpacing(14);
    addKeyHint("\u21A9", "Ausf\u00FChren");
    addKeyHint(QString::fromStdString(keyCombinationText({.command = true}, "\u21A9")), "Kopieren");
    addKeyHint("\u2191\u2193", "Navigieren");
    addKeyHint("esc", "Schlie\u00DFen");
    layout->addStretch();
    m_count = new QLabel(this);
    m_count->setObjectName("quickSearchCount");
    QuickSearchStyle::setTextEmphasis(*m_count, Emphasis::tertiary);
    layout->addWidget(m_count);
    setCount(0, 0);
}

void QuickSearchFooter::setCount(std::size_t shown, std::size_t total) {
    m_count->setText(QString("%1 von %2").arg(shown).arg(total));
}

QString QuickSearchFooter::countText() const {
    return m_count->text();
}

void QuickSearchFooter::addKeyHint(const QString& key, const QString& label) {
    auto* hint = new QHBoxLayout;
    hint->setSpacing(4);
    auto* cap = new QLabel(key, this);
    const QColor fill = QuickSearchStyle::labelColor(palette(), Emphasis::quaternary);
    cap->setStyleSheet(
        QString(
            "QLabel { background: rgba(%1, %2, %3, %4); border-radius: 4px; padding: 1px 5px; }")
            .arg(fill.red())
            .arg(fill.green())
            .arg(fill.blue())
            .arg(fill.alpha()));
    hint->addWidget(cap);
    auto* text = new QLabel(label, this);
    QuickSearchStyle::setTextEmphasis(*text, Emphasis::secondary);
    hint->addWidget(text);
    static_cast<QHBoxLayout*>(layout())->addLayout(hint);
}

} // namespace kelvane
