#include "Kelvane/HotKey/HotKeyRecorder.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/platform/MacKeyCodes.hpp"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace kelvane {
namespace {

constexpr uint16_t escapeKeyCode = 53;

} // namespace

HotKeyRecorder::HotKeyRecorder(QWidget* parent)
    : QWidget(parent), m_button(new QPushButton(this)), m_clearButton(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_button, 0, Qt::AlignVCenter);
    layout->addWidget(m_clearButton, 0, Qt::AlignVCenter);
    layout->addStretch();

    m_button->setObjectName("hotKeyButton");
    m_button->setMinimumWidth(130);
    m_clearButton->setObjectName("hotKeyClearButton");
    m_clearButton->setAutoRaise(true);
    m_clearButton->setIcon(symbolIcon("xmark.circle.fill"));
    m_clearButton->setToolTip(QString::fromUtf8("Tastenk\u00fcrzel entfernen"));

    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_recording)
            stopRecording();
        else
            startRecording();
    });
    connect(m_clearButton, &QToolButton::clicked, this, [this] { edit(std::nullopt); });
    refresh();
}

void HotKeyRecorder::setCombination(std::optional<HotKeyCombination> combination) {
    m_combination = combination;
    refresh();
}

void HotKeyRecorder::setRefused(bool refused) {
    m_refused = refused;
    refresh();
}

void HotKeyRecorder::startRecording() {
    if (m_recording)
        return;
    m_recording = true;
    // Every key press of the application comes here first while recording, as a local key
    // monitor would see it on macOS.
    QCoreApplication::instance()->installEventFilter(this);
    // A combination another program has grabbed for itself goes to that program, not to the
    // focused window, unless the keyboard is held here.
    if (isVisible())
        grabKeyboard();
    refresh();
}

void HotKeyRecorder::stopRecording() {
    if (!m_recording)
        return;
    m_recording = false;
    QCoreApplication::instance()->removeEventFilter(this);
    releaseKeyboard();
    refresh();
}

bool HotKeyRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (!m_recording)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, so that no shortcut of the application fires while a key is recorded.
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);

    const auto* press = static_cast<QKeyEvent*>(event);
    const std::optional<uint16_t> keyCode =
        MacKeyCodes::fromQtKey(press->key(), press->modifiers());
    if (keyCode == escapeKeyCode) {
        stopRecording();
        return true;
    }
    const HotKeyCombination combination = HotKeyCombination::fromEvent(
        keyCode.value_or(0), MacKeyCodes::appKitModifierFlags(press->modifiers()));
    // A modifier pressed on its own, an unknown key or a key without a modifier: keep waiting.
    if (keyCode && combination.carbonModifiers != 0) {
        stopRecording();
        edit(combination);
    }
    return true;
}

void HotKeyRecorder::hideEvent(QHideEvent* event) {
    stopRecording();
    QWidget::hideEvent(event);
}

void HotKeyRecorder::edit(std::optional<HotKeyCombination> combination) {
    setCombination(combination);
    emit combinationEdited(combination);
}

void HotKeyRecorder::refresh() {
    if (m_recording)
        m_button->setText(QString::fromUtf8("Tasten dr\u00fccken\u2026"));
    else if (!m_combination)
        m_button->setText(QString::fromUtf8("Kein K\u00fcrzel"));
    else
        m_button->setText(QString::fromStdString(m_combination->displayString()));
    m_clearButton->setVisible(m_combination.has_value());
    const bool refusedShown = m_refused && m_combination && !m_recording;
    m_button->setIcon(refusedShown ? symbolIcon("exclamationmark.triangle.fill") : QIcon());
}

} // namespace kelvane
