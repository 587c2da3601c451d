#include "Kelvane/platform/AccessoryApplication.hpp"

#import <AppKit/AppKit.h>

namespace kelvane {

void makeAccessoryApplication() {
    [NSApp setActivationPolicy:NSApplicationActivationPolicyAccessory];
}

// Qt makes a tool window an NSPanel, which neither the Dock nor the application switcher lists.
void keepOutOfTaskBar(QWindow&) {}

} // namespace kelvane
