#pragma once

namespace kelvane {

/// Makes the running application a menu-bar accessory: no Dock icon, no main menu bar; it shows
/// itself only as its status item and in the windows it opens. Call after the application
/// object exists.
void makeAccessoryApplication();

} // namespace kelvane
