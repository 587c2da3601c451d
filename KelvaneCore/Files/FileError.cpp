#include "KelvaneCore/Files/FileError.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <cerrno>
#include <cstring>

namespace kelvane {
namespace {

std::string_view verb(FileError::Operation operation) {
    switch (operation) {
    case FileError::Operation::write:
        return "geschrieben";
    case FileError::Operation::remove:
        return "entfernt";
    case FileError::Operation::read:
        break;
    }
    return "gelesen";
}

} // namespace

FileError::FileError(Operation operation, std::string path, std::string reason)
    : m_operation(operation), m_path(std::move(path)), m_reason(std::move(reason)),
      m_description(germanQuoted(m_path) + " konnte nicht " + std::string(verb(operation)) +
                    " werden: " + m_reason) {}

std::string describeSystemError(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return "Datei oder Verzeichnis nicht gefunden";
    case EACCES:
        return "Keine Berechtigung";
    case EPERM:
        return "Die Operation ist nicht erlaubt";
    case ENOSPC:
        return "Auf dem Ger\u00E4t ist kein Speicherplatz mehr verf\u00FCgbar";
    case EDQUOT:
        return "Der zugewiesene Plattenplatz (Quota) ist \u00FCberschritten";
    case EROFS:
        return "Das Dateisystem ist nur lesbar";
    case EISDIR:
        return "Ist ein Verzeichnis";
    case ENOTDIR:
        return "Ist kein Verzeichnis";
    case ENOTEMPTY:
        return "Das Verzeichnis ist nicht leer";
    case EIO:
        return "Ein- oder Ausgabefehler";
    case ELOOP:
        return "Zu viele Ebenen aus symbolischen Links";
    case ENAMETOOLONG:
        return "Der Dateiname ist zu lang";
    case EMFILE:
    case ENFILE:
        return "Zu viele offene Dateien";
    case EFBIG:
        return "Die Datei ist zu gro\u00DF";
    case EBUSY:
        return "Das Ger\u00E4t oder die Ressource ist belegt";
    default:
        return "Systemfehler " + std::to_string(errorNumber) + " (" + std::strerror(errorNumber) +
               ")";
    }
}

} // namespace kelvane
