#include "Kelvane/Desktop/QtDialogs.hpp"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kelvane {
namespace {

QMessageBox::Icon icon(Alert::Style style) {
    switch (style) {
    case Alert::Style::informational:
        return QMessageBox::Information;
    case Alert::Style::critical:
        return QMessageBox::Critical;
    case Alert::Style::warning:
        break;
    }
    return QMessageBox::Warning;
}

QPlainTextEdit* accessoryField(const std::string& text, QWidget* parent) {
    auto* field = new QPlainTextEdit(QString::fromStdString(text), parent);
    field->setObjectName("kelvane_accessory");
    field->setReadOnly(true);
    field->setFixedSize(420, 64);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setFrameShape(QFrame::NoFrame);
    field->viewport()->setAutoFillBackground(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Where the platform names no fixed font, the matcher still has to pick a monospaced one.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(11);
    field->setFont(font);
    return field;
}

/// Puts the field between the texts and the buttons of the message box's grid.
void insertAccessory(QMessageBox& box, QWidget* accessory) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* buttons = box.findChild<QDialogButtonBox*>();
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (!grid || !buttons || !label) {
        box.layout()->addWidget(accessory);
        return;
    }
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(buttons), &row, &column, &rowSpan, &columnSpan);
    int labelRow = 0, labelColumn = 0;
    grid->getItemPosition(grid->indexOf(label), &labelRow, &labelColumn, &rowSpan, &rowSpan);
    grid->removeWidget(buttons);
    grid->addWidget(accessory, row, labelColumn);
    grid->addWidget(buttons, row + 1, column, 1, columnSpan);
}

/// A message box lets Escape only click a cancel button; these alerts are dismissed without
/// choosing any of theirs. A key held down since before the alert was up repeats into it: its
/// repeats are no answer, or a held Return would answer a question nobody has read.
class AlertKeys : public QObject {
public:
    explicit AlertKeys(QMessageBox& box) : m_box(box) { qApp->installEventFilter(this); }
    ~AlertKeys() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !isInBox(watched))
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat())
            return true;
        if (key->matches(QKeySequence::Cancel)) {
            m_box.reject();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool isInBox(QObject* object) const {
        auto* widget = qobject_cast<QWidget*>(object);
        return widget && (widget == &m_box || m_box.isAncestorOf(widget));
    }

    QMessageBox& m_box;
};

/// GNOME's red for destructive actions, which the widget styles of Linux desktops do not give
/// their buttons themselves.
void lookDestructive(QPushButton& button) {
    QPalette palette = button.palette();
    palette.setColor(QPalette::ButtonText, QColor(0xc0, 0x1c, 0x28));
    button.setPalette(palette);
}

} // namespace

std::optional<std::size_t> QtDialogs::runModal(const Alert& alert) {
    QMessageBox box;
    box.setWindowTitle("Kelvane");
    box.setIcon(icon(alert.style));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(alert.messageText));
    box.setInformativeText(QString::fromStdString(alert.informativeText));
    // Names and commands in the texts are the user's own; none of it is markup.
    if (auto* informative = box.findChild<QLabel*>("qt_msgbox_informativelabel"))
        informative->setTextFormat(Qt::PlainText);
    if (alert.accessoryText)
        insertAccessory(box, accessoryField(*alert.accessoryText, &box));
    std::vector<QPushButton*> buttons;
    for (std::size_t index = 0; index < alert.buttons.size(); ++index) {
        const auto role = alert.destructiveButton == index ? QMessageBox::DestructiveRole
                                                           : QMessageBox::AcceptRole;
        buttons.push_back(box.addButton(QString::fromStdString(alert.buttons[index]), role));
        if (role == QMessageBox::DestructiveRole)
            lookDestructive(*buttons.back());
    }
    if (alert.defaultButton < buttons.size())
        box.setDefaultButton(buttons[alert.defaultButton]);
    AlertKeys keys(box);
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (box.clickedButton() == buttons[index])
            return index;
    }
    return std::nullopt;
}

} // namespace kelvane
