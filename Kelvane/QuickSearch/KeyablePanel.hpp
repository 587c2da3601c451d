#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace kelvane {

/// The floating window of the quick search: a frameless tool window above normal windows that
/// takes the keyboard without becoming a main window, moves when its background is dragged, and
/// hides (it is never closed or destroyed) as soon as another application comes to the front.
class KeyablePanel : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{620, 420};

    explicit KeyablePanel(QWidget* parent = nullptr);

    /// Puts `view` in the panel, filling it; the previous view is released once control is back
    /// in the event loop, since one of its own handlers may be what is replacing it.
    void setContentView(QWidget* view);
    QWidget* contentView() const { return m_contentView; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> m_contentView;
    /// Where the background was grabbed, relative to the window, while the window system
    /// leaves moving to us.
    std::optional<QPoint> m_grab;
};

} // namespace kelvane
