#include "Kelvane/Settings/SettingsForm.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>

namespace kelvane::SettingsForm {
namespace {

QFont captionFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.85);
    return font;
}

void colour(QLabel& label, std::optional<QColor> color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText,
                     color.value_or(palette.color(QPalette::PlaceholderText)));
    label.setPalette(palette);
}

} // namespace

QFormLayout* addSection(QBoxLayout& pane, const QString& title) {
    auto* section = new QGroupBox(title);
    auto* form = new QFormLayout(section);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    pane.addWidget(section);
    return form;
}

QLabel* caption(const QString& text, std::optional<QColor> color) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    // Only expanding fields take the form's whole width; a wrapped text would stay narrow.
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    label->setFont(captionFont(label->font()));
    colour(*label, color);
    return label;
}

void showRow(QWidget& field, bool visible) {
    if (auto* form = qobject_cast<QFormLayout*>(field.parentWidget()->layout()))
        form->setRowVisible(&field, visible);
}

SymbolCaption::SymbolCaption(const std::string& symbolName, const QString& text,
                             std::optional<QColor> color)
    : m_text(caption(text, color)) {
    auto* symbol = new QLabel;
    const int extent = style()->pixelMetric(QStyle::PM_SmallIconSize);
    symbol->setPixmap(symbolIcon(symbolName).pixmap(extent, extent));
    symbol->setAlignment(Qt::AlignTop);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(symbol);
    layout->addWidget(m_text, 1);
}

QSize MiddleElidedLabel::minimumSizeHint() const {
    // Narrower than the text, so that the layout shortens it instead of widening the window.
    return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
}

void MiddleElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

} // namespace kelvane::SettingsForm
