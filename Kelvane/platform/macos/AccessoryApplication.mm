#include "Kelvane/platform/AccessoryApplication.hpp"

#import <AppKit/AppKit.h>

namespace kelvane {

void makeAccessoryApplication() {
    [NSApp setActivationPolicy:NSApplicationActivationPolicyAccessory];
}

} // namespace kelvane
