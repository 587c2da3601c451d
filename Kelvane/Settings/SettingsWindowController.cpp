#include "Kelvane/Settings/SettingsWindowController.hpp"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace kelvane {

SettingsWindowController::SettingsWindowController(
    Preferences& preferences, ConfigStore& store, std::function<void()> onHotKeyChange,
    const HotKeyService& hotKeys, LaunchAtLogin& launchAtLogin, Dialogs& dialogs,
    Workspace& workspace, ChooseConfigurationFile chooseFile, QObject* parent)
    : QObject(parent),
      m_window(std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowTitleHint |
                                                      Qt::WindowCloseButtonHint |
                                                      Qt::WindowMinimizeButtonHint)) {
    m_window->setObjectName("settingsWindow");
    m_window->setWindowTitle(QString::fromUtf8("Kelvane Einstellungen"));
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    // The window is not resizable, but follows its panes: a row that appears (a problem, a
    // note) makes it taller instead of cutting a caption or needing a scrollbar.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new SettingsView({preferences, store, std::move(onHotKeyChange), hotKeys,
                                        launchAtLogin, dialogs, workspace, std::move(chooseFile)}));
    layout->activate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_window->move(screen->availableGeometry().center() - m_window->rect().center());
}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::showWindow() {
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace kelvane
