#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

#include <string>

namespace kelvane {

/// Opens files, folders and links through the workspace and, when nothing on the desktop took
/// the request, says so in an alert that names the path: a button that opens something never
/// fails silently.
class DesktopOpener {
public:
    DesktopOpener(Workspace& workspace, Dialogs& dialogs);

    void openFile(const std::string& path);
    void revealFile(const std::string& path);
    void openURL(const std::string& url);

private:
    void reportFailure(std::string messageText, std::string informativeText);

    Workspace& m_workspace;
    Dialogs& m_dialogs;
};

} // namespace kelvane
