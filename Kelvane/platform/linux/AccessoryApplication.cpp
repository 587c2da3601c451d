#include "Kelvane/platform/AccessoryApplication.hpp"

namespace kelvane {

// X11 and Wayland desktops list windows, not applications, in their task bars: a program that
// opens no window shows nothing there, and has no menu bar of its own to hide.
void makeAccessoryApplication() {}

} // namespace kelvane
