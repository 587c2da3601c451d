#include "Kelvane/QuickSearch/KeyablePanel.hpp"

#include "Kelvane/platform/AccessoryApplication.hpp"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace kelvane {

KeyablePanel::KeyablePanel(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("kelvaneQuickSearchPanel");
    setWindowTitle("Kelvane Schnellsuche");
    setAccessibleName("Kelvane Schnellsuche");
    resize(defaultSize);
    // A tool window is no reason to keep the application running, nor to end it.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    hide();
            });
}

void KeyablePanel::setContentView(QWidget* view) {
    if (m_contentView) {
        m_contentView->hide();
        m_contentView->setParent(nullptr);
        m_contentView->deleteLater();
    }
    m_contentView = view;
    layout()->addWidget(view);
}

void KeyablePanel::showEvent(QShowEvent* event) {
    // Sent before the window is mapped, which is when a task bar decides whether to list it.
    winId();
    if (QWindow* window = windowHandle())
        keepOutOfTaskBar(*window);
    QWidget::showEvent(event);
}

void KeyablePanel::paintEvent(QPaintEvent*) {
    // Without a window frame the panel draws its own edge, so that it stands out from windows
    // of the same colour below it.
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void KeyablePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // The window system moves the window itself where it can, which also works where windows
    // may not place themselves.
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    m_grab = event->position().toPoint();
}

void KeyablePanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_grab)
        return QWidget::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - *m_grab);
}

void KeyablePanel::mouseReleaseEvent(QMouseEvent* event) {
    m_grab.reset();
    QWidget::mouseReleaseEvent(event);
}

} // namespace kelvane
