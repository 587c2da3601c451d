#include "Kelvane/platform/AccessoryApplication.hpp"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kelvane {

// X11 and Wayland desktops list windows, not applications, in their task bars: a program that
// opens no window shows nothing there, and has no menu bar of its own to hide.
void makeAccessoryApplication() {}

// Task bars list a tool window unless its state asks them not to. Qt adds its own states to the
// ones a window has when it maps it, and window managers clear them when it is hidden, so the
// state is set again before every show. On Wayland the compositor alone decides.
void keepOutOfTaskBar(QWindow& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr)
        return;
    const Atom states[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                           XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
    XChangeProperty(display, static_cast<::Window>(window.winId()),
                    XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), 2);
    XFlush(display);
}

} // namespace kelvane
