#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

/// A modal alert, as the application shows it.
struct Alert {
    enum class Style { informational, warning, critical };

    Style style = Style::warning;
    std::string messageText;
    std::string informativeText;
    /// Text shown below in a read-only, monospaced, scrollable field (a command's full text).
    std::optional<std::string> accessoryText;
    /// In order.
    std::vector<std::string> buttons;
    /// The index of the button that Return chooses.
    std::size_t defaultButton = 0;
    /// The index of a button whose action is destructive.
    std::optional<std::size_t> destructiveButton;

    bool operator==(const Alert&) const = default;
};

/// Shows modal alerts; tests answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// Brings the application to the front, shows the alert and returns the index of the chosen
    /// button, or none when it was dismissed otherwise (Escape, closing the window).
    virtual std::optional<std::size_t> runModal(const Alert& alert) = 0;
};

/// What the desktop does for the application: pasteboard, links, files. The opening requests
/// answer false when nothing on the desktop took them (no program for the link or the file).
class Workspace {
public:
    virtual ~Workspace() = default;

    virtual void copyToPasteboard(const std::string& text) = 0;
    virtual bool openURL(const std::string& url) = 0;
    /// Opens a file with the system's default application for it.
    virtual bool openFile(const std::string& path) = 0;
    /// Shows the file selected in the file manager.
    virtual bool revealFile(const std::string& path) = 0;
};

} // namespace kelvane
