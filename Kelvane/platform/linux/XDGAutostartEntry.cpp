#include "Kelvane/platform/linux/XDGAutostartEntry.hpp"

#include "Kelvane/platform/PreferenceStore.hpp"
#include "Kelvane/platform/PrivateFolder.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <sstream>

namespace kelvane {
namespace {

bool switchedOff(const std::string& entry) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string_view key = Unicode::trimmed(std::string_view(line).substr(0, equals));
        const std::string_view value = Unicode::trimmed(std::string_view(line).substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return true;
    }
    return false;
}

} // namespace

XDGAutostartEntry::XDGAutostartEntry(std::filesystem::path entry, std::filesystem::path executable)
    : m_entry(std::move(entry)), m_executable(std::move(executable)) {}

LoginItemService::Status XDGAutostartEntry::status() const {
    try {
        return switchedOff(FileAccess::readRegularFile(m_entry)) ? Status::notRegistered
                                                                 : Status::enabled;
    } catch (const FileError&) {
        return Status::notRegistered;
    }
}

void XDGAutostartEntry::registerItem() {
    if (m_executable.empty())
        throw LoginItemError("Der Pfad des laufenden Programms ist unbekannt.");
    createPrivateFolder(m_entry.parent_path());
    FileAccess::writeAtomically(m_entry, content());
}

void XDGAutostartEntry::unregisterItem() {
    std::error_code error;
    std::filesystem::remove(m_entry, error);
    if (error)
        throw FileError(FileError::Operation::remove, m_entry.string(),
                        describeSystemError(error.value()));
}

std::string XDGAutostartEntry::content() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kelvane\n"
           "Comment=Shell-Befehle aus der Systemleiste starten\n"
           "Exec=" +
           desktopEntryExecValue(m_executable.string()) +
           "\n"
           "Icon=kelvane\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string desktopEntryExecValue(const std::string& path) {
    // Three layers, innermost first: the quoting of one argument, the field codes, and the
    // escapes every string value of the file goes through.
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        switch (c) {
        case '%':
            value += "%%";
            break;
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

std::unique_ptr<LoginItemService> makeLoginItemService() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        executable.clear();
    // The folder of Kelvane's own files is the XDG configuration folder's "Kelvane".
    return std::make_unique<XDGAutostartEntry>(
        applicationSupportFolder().parent_path() / "autostart" / "kelvane.desktop", executable);
}

} // namespace kelvane
