#include "Kelvane/Desktop/QtDialogs.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kelvane {
namespace {

/// Hands the next modal message box to `act` as soon as it is up; `act` must close it.
void whenBoxIsUp(std::function<void(QMessageBox&)> act) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            act(*box);
        }
    });
    poll->start(0);
}

QAbstractButton* buttonTitled(QMessageBox& box, const QString& title) {
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == title)
            return button;
    }
    return nullptr;
}

void click(QMessageBox& box, const QString& title) {
    QAbstractButton* button = buttonTitled(box, title);
    EXPECT_NE(button, nullptr) << title.toStdString();
    if (button)
        button->click();
    else
        box.reject();
}

Alert confirmation() {
    Alert alert;
    alert.messageText = "\u201E<b>Weg</b>\u201C wirklich ausf\u00FChren?";
    alert.informativeText = "L\u00F6scht Dateien rekursiv oder erzwungen (rm -rf)";
    alert.accessoryText = "rm -rf ~/x && echo <i>fertig</i>";
    alert.buttons = {"Ausf\u00FChren", "Abbrechen"};
    alert.destructiveButton = 0;
    alert.defaultButton = 1;
    return alert;
}

TEST(QtDialogs, showsTheAlertAsPlainTextWithTheCommandBelow) {
    const Alert alert = confirmation();
    whenBoxIsUp([&](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.text().toStdString(), alert.messageText);
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.informativeText().toStdString(), alert.informativeText);
        const auto* informative = box.findChild<QLabel*>("qt_msgbox_informativelabel");
        EXPECT_TRUE(informative && informative->textFormat() == Qt::PlainText);
        const auto* field = box.findChild<QPlainTextEdit*>("kelvane_accessory");
        EXPECT_TRUE(field && field->isReadOnly() && field->isVisible());
        if (field) {
            EXPECT_EQ(field->toPlainText().toStdString(), *alert.accessoryText);
            EXPECT_EQ(field->size(), QSize(420, 64));
            const QFontMetrics metrics(field->font());
            EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"))
                << "monospaced";
        }
        EXPECT_EQ(box.buttonRole(buttonTitled(box, "Ausf\u00FChren")),
                  QMessageBox::DestructiveRole);
        EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()),
                  buttonTitled(box, "Abbrechen"));
        click(box, "Abbrechen");
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.runModal(alert), 1u);
}

TEST(QtDialogs, answersWithTheChosenButtonsIndexOrNoneForEscape) {
    QtDialogs dialogs;
    whenBoxIsUp([](QMessageBox& box) { click(box, "Ausf\u00FChren"); });
    EXPECT_EQ(dialogs.runModal(confirmation()), 0u);

    whenBoxIsUp([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.runModal(confirmation()), std::nullopt);

    // A Return held since before the alert: its repeats reach the default button, and pass.
    Alert runByDefault = confirmation();
    runByDefault.defaultButton = 0;
    whenBoxIsUp([](QMessageBox& box) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(box.defaultButton(), &repeat);
        EXPECT_TRUE(box.isVisible()) << "a repeated key answers nothing";
        QWidget elsewhere;
        QTest::keyClick(&elsewhere, Qt::Key_Escape);
        EXPECT_TRUE(box.isVisible()) << "nor does a key of another window";
        QTest::keyClick(box.defaultButton(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.runModal(runByDefault), 0u) << "a fresh Return does";

    Alert informational;
    informational.style = Alert::Style::informational;
    informational.messageText = "Kelvane";
    informational.buttons = {"OK"};
    whenBoxIsUp([](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.findChild<QPlainTextEdit*>("kelvane_accessory"), nullptr);
        click(box, "OK");
    });
    EXPECT_EQ(dialogs.runModal(informational), 0u);
}

} // namespace
} // namespace kelvane
