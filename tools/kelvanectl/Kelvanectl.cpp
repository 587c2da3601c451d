#include "Kelvanectl.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include "Subcommands.hpp"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kelvane::ctl {
namespace {

struct Subcommand {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    std::vector<OptionDefinition> options;
    std::size_t positionalCount;
    int (*run)(const Invocation&);
};

const OptionDefinition sortOption{"--sort", true, {"alphabetical", "file-order"}};
const OptionDefinition jsonOption{"--json", false, {}};

const std::array<Subcommand, 9>& subcommands() {
    static const std::array<Subcommand, 9> table{{
        {"check",
         "check [--sort alphabetical|file-order] [--strict] [--json] DATEI",
         "L\u00E4dt die Datei wie Kelvane und meldet Format, Befehle und Hinweise.",
         {sortOption, {"--strict", false, {}}, jsonOption},
         1,
         check},
        {"menu",
         "menu [--sort alphabetical|file-order] DATEI",
         "Zeigt das Men\u00FC, wie Kelvane es aus der Datei baut.",
         {sortOption},
         1,
         menu},
        {"search",
         "search [--sort alphabetical|file-order] [--limit N] [--json] DATEI SUCHE",
         "Sucht wie die Schnellsuche (h\u00F6chstens 100 Treffer, wenn nicht anders gesagt).",
         {sortOption, {"--limit", true, {}}, jsonOption},
         2,
         search},
        {"script",
         "script [--open-in window|tab|current] [--terminal NAME] [--shell PFAD] [--macos] "
         "[--home ORDNER] [--working-directory ORDNER] [--command-line] BEFEHL",
         "Zeigt das AppleScript oder den Programmaufruf (mit --command-line die Befehlszeile) "
         "f\u00FCr einen Befehl; --macos zeigt den Aufruf unter macOS.",
         {{"--open-in", true, {"window", "tab", "current"}},
          {"--terminal", true, {}},
          {"--shell", true, {}},
          {"--macos", false, {}},
          {"--home", true, {}},
          {"--working-directory", true, {}},
          {"--command-line", false, {}}},
         1,
         script},
        {"risk",
         "risk [--confirm true|false] [--scanner on|off] [--json] BEFEHL",
         "Pr\u00FCft, ob Kelvane vor dem Ausf\u00FChren eines Befehls nachfragt.",
         {{"--confirm", true, {"true", "false"}}, {"--scanner", true, {"on", "off"}}, jsonOption},
         1,
         risk},
        {"trust",
         "trust [--json] DATEI",
         "Pr\u00FCft Besitzer und Rechte der Datei, ihrer Ordner bis zur Wurzel und der "
         "Links auf dem Weg.",
         {jsonOption},
         1,
         trust},
        {"convert",
         "convert [--sort alphabetical|file-order] DATEI",
         "Schreibt die Datei im Format Version 2 auf die Standardausgabe.",
         {sortOption},
         1,
         convert},
        {"migrate",
         "migrate [--sort alphabetical|file-order] DATEI",
         "Schreibt die Datei im Format Version 2 um und beh\u00E4lt eine Sicherung (.backup).",
         {sortOption},
         1,
         migrate},
        {"normalize",
         "normalize DATEI",
         "Entfernt Kommentare und \u00FCberz\u00E4hlige Kommas und gibt striktes JSON aus.",
         {},
         1,
         normalize},
    }};
    return table;
}

void printOverview(std::ostream& out) {
    out << "kelvanectl \u2014 Kelvanes Konfiguration auf der Kommandozeile\n\n"
           "Aufruf: kelvanectl BEFEHL [OPTIONEN] ARGUMENTE\n\nBefehle:\n";
    for (const Subcommand& subcommand : subcommands())
        out << "  " << subcommand.name << std::string(12 - subcommand.name.size(), ' ')
            << subcommand.summary << '\n';
    out << "\n\u201Ekelvanectl BEFEHL --help\u201C zeigt die Optionen eines Befehls.\n"
           "Exit-Codes: 0 in Ordnung, 1 etwas zu melden, 2 Datei nicht ladbar, 3 Datei nicht "
           "vertrauensw\u00FCrdig, 64 falscher Aufruf.\n";
}

void printHelp(std::ostream& out, const Subcommand& subcommand) {
    out << "Aufruf: kelvanectl " << subcommand.usage << "\n\n" << subcommand.summary << '\n';
}

std::string homeDirectory() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "/";
}

// The XDG base directory rule: a relative XDG_CACHE_HOME is ignored.
std::string cacheFolder(const std::string& home) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const std::string base = cache != nullptr && cache[0] == '/' ? cache : home + "/.cache";
    return base + "/Kelvane";
}

} // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        printOverview(arguments.empty() ? err : out);
        return arguments.empty() ? wrongUsage : success;
    }
    const auto& table = subcommands();
    const auto subcommand = std::find_if(table.begin(), table.end(), [&](const Subcommand& entry) {
        return entry.name == arguments[0];
    });
    if (subcommand == table.end()) {
        err << "kelvanectl: Unbekannter Befehl " << germanQuoted(arguments[0])
            << ". \u201Ekelvanectl --help\u201C zeigt die Befehle.\n";
        return wrongUsage;
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        printHelp(out, *subcommand);
        return success;
    }
    try {
        const Arguments parsed =
            Arguments::parse(rest, subcommand->options, subcommand->positionalCount);
        const std::string home = homeDirectory();
        return subcommand->run(
            {parsed, out, err, static_cast<std::uint32_t>(::getuid()), home, cacheFolder(home)});
    } catch (const UsageError& error) {
        err << "kelvanectl " << subcommand->name << ": " << error.what() << "\nAufruf: kelvanectl "
            << subcommand->usage << '\n';
        return wrongUsage;
    }
}

} // namespace kelvane::ctl
