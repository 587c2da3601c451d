#include "Kelvane/platform/linux/X11ErrorTrap.hpp"

#include <X11/Xlib.h>

namespace kelvane {
namespace {

// Xlib's error handler takes no context argument; there is one trap at a time.
Display* trappedDisplay = nullptr;
int trappedError = 0;
XErrorHandler handlerBeforeTrap = nullptr;

int trapError(Display* display, XErrorEvent* error) {
    if (display != trappedDisplay)
        return handlerBeforeTrap ? handlerBeforeTrap(display, error) : 0;
    if (trappedError == 0)
        trappedError = error->error_code;
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : m_display(display) {
    trappedDisplay = display;
    trappedError = 0;
    handlerBeforeTrap = XSetErrorHandler(trapError);
}

X11ErrorTrap::~X11ErrorTrap() {
    // Errors of requests still on their way must not reach a handler that ends the program.
    XSync(m_display, False);
    XSetErrorHandler(handlerBeforeTrap);
    trappedDisplay = nullptr;
    handlerBeforeTrap = nullptr;
}

int X11ErrorTrap::firstError() {
    XSync(m_display, False);
    return trappedError;
}

} // namespace kelvane
