#include "Kelvane/QuickSearch/QuickSearchController.hpp"

#include "Kelvane/QuickSearch/KeyablePanel.hpp"
#include "Kelvane/QuickSearch/QuickSearchView.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace kelvane {

QuickSearchController::QuickSearchController(ConfigStore& store,
                                             std::function<void(const ShellCommand&)> onRun,
                                             Workspace& workspace, QObject* parent)
    : QObject(parent), m_store(store), m_onRun(std::move(onRun)), m_workspace(workspace) {}

QuickSearchController::~QuickSearchController() = default;

void QuickSearchController::toggle() {
    if (isPanelVisible())
        hidePanel();
    else
        show();
}

void QuickSearchController::show() {
    if (!m_panel)
        m_panel = std::make_unique<KeyablePanel>();
    // On the screen the user is looking at, which is where the pointer is.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        // Horizontally centred, raised above the middle by 12 % of the screen's height.
        const QRectF visible = screen->availableGeometry();
        const QSizeF size = m_panel->frameGeometry().size();
        const QPointF origin(visible.center().x() - size.width() * 0.5,
                             visible.center().y() - size.height() * 0.5 - visible.height() * 0.12);
        m_panel->move(origin.toPoint());
    }
    auto* view = new QuickSearchView(
        m_store, [this](const ShellCommand& command) { run(command); },
        [this](const ShellCommand& command) { m_workspace.copyToPasteboard(command.command); },
        [this] { hidePanel(); });
    m_panel->setContentView(view);
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
    view->focusField();
}

QWidget* QuickSearchController::panel() const {
    return m_panel.get();
}

bool QuickSearchController::isPanelVisible() const {
    return m_panel && m_panel->isVisible();
}

void QuickSearchController::hidePanel() {
    if (m_panel)
        m_panel->hide();
}

void QuickSearchController::run(const ShellCommand& command) {
    hidePanel();
    // Running may ask for confirmation in a modal dialog, in whose event loop the hot key can
    // show the panel again and replace the view whose key or click handler is still on the
    // stack; so the command leaves once that handler has returned.
    QMetaObject::invokeMethod(
        this, [this, command] { m_onRun(command); }, Qt::QueuedConnection);
}

} // namespace kelvane
