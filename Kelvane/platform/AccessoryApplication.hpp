#pragma once

class QWindow;

namespace kelvane {

/// Makes the running application a menu-bar accessory: no Dock icon, no main menu bar; it shows
/// itself only as its status item and in the windows it opens. Call after the application
/// object exists.
void makeAccessoryApplication();

/// Keeps one of the application's panels out of the task bar and the window switcher. Call
/// before each time the window is shown.
void keepOutOfTaskBar(QWindow& window);

} // namespace kelvane
