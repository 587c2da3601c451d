#pragma once

// Xlib's Display, declared without Xlib's macros (None, Status, Bool), which break Qt and
// GoogleTest headers included after them.
struct _XDisplay;

namespace kelvane {

/// Catches the errors that the requests on one display raise while the trap exists, instead of
/// letting Xlib's default handler end the program. Errors of other displays go to the handler that
/// was installed before, which the trap restores when it goes. One trap at a time, main thread
/// only.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    /// Waits until the server has handled every request sent so far and answers the code of the
    /// first error among them (BadAccess, BadValue, ...), 0 when there was none.
    int firstError();

private:
    _XDisplay* m_display;
};

} // namespace kelvane
