#include "JSONOutput.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "Kelvanectl.hpp"
#include "SearchCache.hpp"
#include "Subcommands.hpp"

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Configuration/ConfigurationFile.hpp"
#include "KelvaneCore/Configuration/LenientJSON.hpp"
#include "KelvaneCore/Configuration/StrictJSON.hpp"
#include "KelvaneCore/Files/FileError.hpp"
#include "KelvaneCore/Search/CommandIndex.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <charconv>
#include <functional>

namespace kelvane::ctl {
namespace {

using JSONOutput::addText;

SortMode sortMode(const Invocation& invocation) {
    return invocation.arguments.value("--sort") == "file-order" ? SortMode::fileOrder
                                                                : SortMode::alphabetical;
}

const std::string& filePath(const Invocation& invocation) {
    return invocation.arguments.positional(0);
}

bool wantsJSON(const Invocation& invocation) {
    return invocation.arguments.has("--json");
}

int report(const Invocation& invocation, const ConfigurationProblem& problem) {
    const auto* untrusted = std::get_if<ConfigurationProblem::Untrusted>(&problem.kind);
    if (wantsJSON(invocation)) {
        rapidjson::Document document(rapidjson::kObjectType);
        auto& allocator = document.GetAllocator();
        addText(document, "file", filePath(invocation), allocator);
        if (untrusted) {
            rapidjson::Value issues(rapidjson::kArrayType);
            for (const ConfigTrustCheck::Issue& issue : untrusted->issues) {
                rapidjson::Value entry(rapidjson::kObjectType);
                addText(entry, "message", issue.message(), allocator);
                addText(entry, "fixCommand", issue.fixCommand().value_or(""), allocator);
                issues.PushBack(entry, allocator);
            }
            document.AddMember("untrusted", issues, allocator);
        } else {
            addText(document, "error", problem.message(), allocator);
        }
        JSONOutput::print(invocation.out, document);
    } else if (untrusted) {
        invocation.err << "kelvanectl: Die Datei wird nicht gelesen, weil sie nicht "
                          "vertrauensw\u00FCrdig ist:\n";
        for (const ConfigTrustCheck::Issue& issue : untrusted->issues)
            invocation.err << "  " << issue.message()
                           << "\n    Abhilfe: " << issue.fixCommand().value_or("") << '\n';
    } else {
        invocation.err << "kelvanectl: " << problem.message() << '\n';
    }
    return untrusted ? notTrusted : notLoaded;
}

// Loads the file the way the app does and hands the configuration and the bytes it came from
// on, or reports the problem.
int withLoadedFile(const Invocation& invocation,
                   const std::function<int(const ConfigurationFile::LoadedConfiguration&)>& use) {
    auto result = ConfigurationFile::loadWithBytes(filePath(invocation), sortMode(invocation),
                                                   invocation.currentUser);
    if (const auto* problem = std::get_if<ConfigurationProblem>(&result))
        return report(invocation, *problem);
    return use(std::get<ConfigurationFile::LoadedConfiguration>(result));
}

int withConfiguration(const Invocation& invocation,
                      const std::function<int(const Configuration&)>& use) {
    return withLoadedFile(invocation, [&](const ConfigurationFile::LoadedConfiguration& loaded) {
        return use(loaded.configuration);
    });
}

rapidjson::Value settingsJSON(const ConfigurationSettings& settings,
                              JSONOutput::Allocator& allocator) {
    rapidjson::Value object(rapidjson::kObjectType);
    addText(object, "terminal", rawValue(settings.terminal), allocator);
    addText(object, "openIn", rawValue(settings.openIn), allocator);
    addText(object, "editor",
            settings.editor.kind == EditorSetting::Kind::system ? std::string("default")
                                                                : settings.editor.command,
            allocator);
    rapidjson::Value launch;
    if (settings.launchAtLogin)
        launch.SetBool(*settings.launchAtLogin);
    object.AddMember("launchAtLogin", launch, allocator);
    return object;
}

void printCheckJSON(const Invocation& invocation, const Configuration& configuration) {
    rapidjson::Document document(rapidjson::kObjectType);
    auto& allocator = document.GetAllocator();
    addText(document, "file", filePath(invocation), allocator);
    addText(document, "format",
            configuration.format == ConfigurationFormat::v2 ? "v2" : "legacyShuttle", allocator);
    document.AddMember("settings", settingsJSON(configuration.settings, allocator), allocator);
    // The items exactly as the version 2 writer writes them.
    const rapidjson::Document written =
        StrictJSON::parse(ConfigMigrator::makeV2JSON(configuration));
    rapidjson::Value items(written["items"], allocator);
    document.AddMember("items", items, allocator);
    rapidjson::Value warnings(rapidjson::kArrayType);
    for (const ConfigurationWarning& warning : configuration.warnings) {
        rapidjson::Value entry(rapidjson::kObjectType);
        addText(entry, "kind", warning.kindName(), allocator);
        addText(entry, "message", warning.message(), allocator);
        warnings.PushBack(entry, allocator);
    }
    document.AddMember("warnings", warnings, allocator);
    JSONOutput::print(invocation.out, document);
}

void printCheckText(const Invocation& invocation, const Configuration& configuration) {
    std::ostream& out = invocation.out;
    out << "Datei: " << filePath(invocation) << '\n'
        << "Format: "
        << (configuration.format == ConfigurationFormat::v2 ? "Version 2" : "Shuttle (alt)") << '\n'
        << "Befehle: " << configuration.commandCount() << '\n'
        << "Hinweise: " << countOfWarnings(configuration.warnings) << '\n';
    for (const ConfigurationWarning& warning : configuration.warnings)
        out << "  - " << warning.message() << '\n';
}

void printMenu(std::ostream& out, const std::vector<MenuNode>& nodes, const std::string& indent) {
    for (const MenuNode& node : nodes) {
        if (const ShellCommand* command = node.command()) {
            out << indent << command->title;
            if (command->shortcut)
                out << "  " << command->shortcut->symbolText();
            out << '\n';
        } else if (const CommandGroup* group = node.group()) {
            out << indent << group->title << " \u25B8\n";
            if (group->items.empty())
                out << indent << "    Leer\n";
            printMenu(out, group->items, indent + "    ");
        } else {
            out << indent << "\u2500\u2500\u2500\u2500\u2500\u2500\u2500\u2500\n";
        }
    }
}

std::size_t searchLimit(const Invocation& invocation) {
    const std::string text = invocation.arguments.value("--limit").value_or("100");
    std::size_t limit = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), limit);
    if (error != std::errc() || end != text.data() + text.size())
        throw UsageError("Ung\u00FCltiger Wert " + germanQuoted(text) +
                         " f\u00FCr \u201E--limit\u201C \u2014 erwartet wird eine ganze Zahl "
                         "ab 0.");
    return limit;
}

void printSearchJSON(std::ostream& out, const CommandIndex& index,
                     const std::vector<CommandIndex::Hit>& hits) {
    rapidjson::Document document(rapidjson::kArrayType);
    auto& allocator = document.GetAllocator();
    for (const CommandIndex::Hit& hit : hits) {
        const CommandIndex::Command& command = index.commands[hit.command];
        rapidjson::Value entry(rapidjson::kObjectType);
        rapidjson::Value path(rapidjson::kArrayType);
        for (const std::string& title : index.pathOf(command.group))
            path.PushBack(JSONOutput::text(title, allocator), allocator);
        entry.AddMember("path", path, allocator);
        addText(entry, "title", command.title, allocator);
        addText(entry, "command", command.command, allocator);
        entry.AddMember("score", hit.score, allocator);
        rapidjson::Value indices(rapidjson::kArrayType);
        for (const int64_t position : hit.matchedIndices)
            indices.PushBack(position, allocator);
        entry.AddMember("matchedIndices", indices, allocator);
        document.PushBack(entry, allocator);
    }
    JSONOutput::print(out, document);
}

void printSearchText(std::ostream& out, const CommandIndex& index,
                     const std::vector<CommandIndex::Hit>& hits) {
    for (const CommandIndex::Hit& hit : hits) {
        const CommandIndex::Command& command = index.commands[hit.command];
        out << hit.score << '\t';
        for (const std::string& title : index.pathOf(command.group))
            out << title << " \u203A ";
        out << command.title << "\n\t" << command.command << '\n';
    }
}

// The trust check and the read run every time; only an index made of exactly these bytes is
// taken from the cache.
int searchIn(const Invocation& invocation, const std::string& bytes, std::size_t limit) {
    const SortMode mode = sortMode(invocation);
    const std::optional<std::filesystem::path> cacheFile =
        SearchCache::fileFor(invocation.cacheFolder, filePath(invocation), mode);
    // Writes the cache file on the other core while this one loads, searches, prints and frees
    // the configuration; it keeps nothing of those, so it is waited for last.
    std::optional<SearchCache::Store> store;
    std::optional<std::string> stored;
    std::optional<CommandIndex> index;
    if (cacheFile && (stored = SearchCache::read(*cacheFile, invocation.currentUser)))
        index = SearchCache::decode(*stored, bytes, mode);
    std::variant<Configuration, ConfigurationProblem> loaded;
    if (!index) {
        if (cacheFile)
            store.emplace(*cacheFile, bytes, mode);
        loaded = ConfigurationFile::loadBytes(bytes, mode);
        if (const auto* problem = std::get_if<ConfigurationProblem>(&loaded))
            return report(invocation, *problem);
        index = CommandIndex::of(std::get<Configuration>(loaded));
        if (store)
            store->finish(*index);
    }
    const auto hits = index->search(invocation.arguments.positional(1), limit);
    if (wantsJSON(invocation))
        printSearchJSON(invocation.out, *index, hits);
    else
        printSearchText(invocation.out, *index, hits);
    return success;
}

} // namespace

int check(const Invocation& invocation) {
    return withConfiguration(invocation, [&](const Configuration& configuration) {
        if (wantsJSON(invocation))
            printCheckJSON(invocation, configuration);
        else
            printCheckText(invocation, configuration);
        const bool failsStrict =
            invocation.arguments.has("--strict") && !configuration.warnings.empty();
        return failsStrict ? somethingToReport : success;
    });
}

int menu(const Invocation& invocation) {
    return withConfiguration(invocation, [&](const Configuration& configuration) {
        printMenu(invocation.out, configuration.items, "");
        return success;
    });
}

int search(const Invocation& invocation) {
    const std::size_t limit = searchLimit(invocation);
    auto bytes = ConfigurationFile::readTrusted(filePath(invocation), invocation.currentUser);
    if (const auto* problem = std::get_if<ConfigurationProblem>(&bytes))
        return report(invocation, *problem);
    return searchIn(invocation, std::get<std::string>(bytes), limit);
}

int convert(const Invocation& invocation) {
    return withConfiguration(invocation, [&](const Configuration& configuration) {
        invocation.out << ConfigMigrator::makeV2JSON(configuration);
        return success;
    });
}

int migrate(const Invocation& invocation) {
    return withLoadedFile(invocation, [&](const ConfigurationFile::LoadedConfiguration& loaded) {
        // Migrating again would replace the backup of the old format with this file.
        if (loaded.configuration.format == ConfigurationFormat::v2) {
            invocation.out << "Die Datei hat schon das Format Version 2 \u2014 nichts wurde "
                              "ge\u00E4ndert.\n";
            return static_cast<int>(success);
        }
        try {
            ConfigMigrator::migrateInPlace(filePath(invocation), loaded.configuration,
                                           loaded.bytes);
        } catch (const FileError& error) {
            invocation.err << "kelvanectl: " << error.what() << '\n';
            return static_cast<int>(notLoaded);
        }
        invocation.out << "Nach Version 2 migriert. Sicherung der alten Datei: "
                       << germanQuoted(ConfigMigrator::backupPath(filePath(invocation)).string())
                       << '\n';
        return static_cast<int>(success);
    });
}

int normalize(const Invocation& invocation) {
    auto bytes = ConfigurationFile::readTrusted(filePath(invocation), invocation.currentUser);
    if (const auto* problem = std::get_if<ConfigurationProblem>(&bytes))
        return report(invocation, *problem);
    invocation.out << LenientJSON::normalize(std::get<std::string>(bytes));
    return success;
}

int trust(const Invocation& invocation) {
    const ConfigTrustCheck::Verdict verdict =
        ConfigTrustCheck::inspect(filePath(invocation), invocation.currentUser);
    if (wantsJSON(invocation)) {
        rapidjson::Document document(rapidjson::kObjectType);
        auto& allocator = document.GetAllocator();
        document.AddMember("trusted", verdict.isTrusted(), allocator);
        rapidjson::Value issues(rapidjson::kArrayType);
        for (const ConfigTrustCheck::Issue& issue : verdict.issues) {
            rapidjson::Value entry(rapidjson::kObjectType);
            addText(entry, "kind", issue.kindName(), allocator);
            addText(entry, "message", issue.message(), allocator);
            addText(entry, "fixCommand", issue.fixCommand().value_or(""), allocator);
            issues.PushBack(entry, allocator);
        }
        document.AddMember("issues", issues, allocator);
        JSONOutput::print(invocation.out, document);
    } else if (verdict.isTrusted()) {
        invocation.out << "Vertrauensw\u00FCrdig.\n";
    } else {
        for (const ConfigTrustCheck::Issue& issue : verdict.issues)
            invocation.out << issue.message()
                           << "\n    Abhilfe: " << issue.fixCommand().value_or("") << '\n';
    }
    return verdict.isTrusted() ? success : notTrusted;
}

} // namespace kelvane::ctl
