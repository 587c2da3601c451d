#include "Kelvane/Startup/ShuttleImport.hpp"

#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"

#include <exception>

namespace kelvane::ShuttleImport {
namespace {

Alert makeAlert(const std::filesystem::path& source, const Configuration& configuration) {
    Alert alert;
    alert.messageText = "Shuttle-Konfiguration gefunden";
    alert.informativeText = "Unter \u201e" + source.string() + "\u201c liegen " +
                            std::to_string(configuration.commandCount()) + " Befehle in " +
                            std::to_string(configuration.items.size()) +
                            " Gruppen. Sollen sie \u00fcbernommen werden?\n\n"
                            "Die Originaldatei bleibt unver\u00e4ndert.";
    alert.buttons = {"\u00dcbernehmen", "Sp\u00e4ter"};
    return alert;
}

/// Whether replacing the file could lose something the user wrote: true unless it is absent or
/// loads without a single entry, as the default file does.
bool holdsUserEntries(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return false;
    try {
        return !ConfigurationLoader{}.loadContentsOf(file).items.empty();
    } catch (const std::exception&) {
        return true;
    }
}

} // namespace

std::optional<ShuttleImportOffer> offer(const std::vector<std::filesystem::path>& candidates) {
    if (candidates.empty())
        return std::nullopt;
    const std::filesystem::path& source = candidates.front();
    try {
        const ConfigurationLoader loader{SortMode::alphabetical, SortMode::fileOrder};
        const Configuration configuration = loader.load(FileAccess::readRegularFile(source));
        return ShuttleImportOffer{source, makeAlert(source, configuration)};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void copyInPlace(const std::filesystem::path& source, const std::filesystem::path& target) {
    const std::string bytes = FileAccess::readRegularFile(source);
    if (holdsUserEntries(target))
        FileAccess::writeAtomically(target.string() + ".backup",
                                    FileAccess::readRegularFile(target));
    FileAccess::writeAtomically(target, bytes);
}

} // namespace kelvane::ShuttleImport
