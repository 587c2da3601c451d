#include "Kelvane/Desktop/DesktopOpener.hpp"

#include "Kelvane/platform/Log.hpp"

#include "KelvaneCore/Text/GermanQuotes.hpp"

namespace kelvane {

DesktopOpener::DesktopOpener(Workspace& workspace, Dialogs& dialogs)
    : m_workspace(workspace), m_dialogs(dialogs) {}

void DesktopOpener::openFile(const std::string& path) {
    if (!m_workspace.openFile(path))
        reportFailure(germanQuoted(path) + " konnte nicht ge\u00F6ffnet werden.",
                      "Kein Programm hat die Datei \u00FCbernommen. Lege ein Standardprogramm "
                      "f\u00FCr diesen Dateityp fest.");
}

void DesktopOpener::revealFile(const std::string& path) {
    if (!m_workspace.revealFile(path))
        reportFailure(germanQuoted(path) + " konnte nicht gezeigt werden.",
                      "Kein Dateimanager hat den Ordner \u00FCbernommen.");
}

void DesktopOpener::openURL(const std::string& url) {
    if (!m_workspace.openURL(url))
        reportFailure("Der Link " + germanQuoted(url) + " konnte nicht ge\u00F6ffnet werden.",
                      "Kein Programm hat den Link \u00FCbernommen.");
}

void DesktopOpener::reportFailure(std::string messageText, std::string informativeText) {
    Log::error("app", messageText);
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = std::move(messageText);
    alert.informativeText = std::move(informativeText);
    alert.buttons = {"OK"};
    m_dialogs.runModal(alert);
}

} // namespace kelvane
