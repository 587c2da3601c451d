#include "KelvaneCore/Configuration/ConfigurationReaders.hpp"
#include "KelvaneCore/Configuration/ReaderSupport.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

namespace kelvane::ConfigurationReaders {
namespace {

using namespace ReaderSupport;
using Warnings = std::vector<ConfigurationWarning>;

class V2EntryReader : public EntryListReader {
public:
    using EntryListReader::EntryListReader;

private:
    void readObject(const rapidjson::Value& entry, const std::string& path,
                    std::vector<MenuNode>& nodes) override {
        const std::string type = entryType(entry);
        const std::string title(Unicode::trimmed(stringMember(entry, "title").value_or("")));
        if (type == "separator")
            nodes.push_back({Separator{Uuid::random()}});
        else if (type == "group")
            nodes.push_back(readGroup(entry, path, title));
        else if (type == "command")
            readCommand(entry, path, title, nodes);
        else
            m_warnings.push_back({ConfigurationWarning::SkippedEntry{
                path, "unbekannter Typ " + germanQuoted(type)}});
    }

    static std::string entryType(const rapidjson::Value& entry) {
        if (const auto type = stringMember(entry, "type"))
            return Unicode::lowercased(*type);
        return member(entry, "items") != nullptr ? "group" : "command";
    }

    MenuNode readGroup(const rapidjson::Value& entry, const std::string& path,
                       const std::string& title) {
        const std::string groupPath = childPath(path, title);
        if (title.empty())
            m_warnings.push_back({ConfigurationWarning::EmptyTitle{groupPath}});
        std::vector<MenuNode> children;
        if (const rapidjson::Value* items = member(entry, "items"); items && items->IsArray())
            children = readEntries(*items, groupPath);
        return {CommandGroup(Uuid::random(), title, optionalString(entry, "icon"),
                             std::move(children))};
    }

    void readCommand(const rapidjson::Value& entry, const std::string& path,
                     const std::string& title, std::vector<MenuNode>& nodes) {
        const auto command = stringMember(entry, "command");
        if (!command || Unicode::trimmed(*command).empty()) {
            m_warnings.push_back(
                {ConfigurationWarning::EmptyCommand{title.empty() ? path : title}});
            return;
        }
        if (title.empty())
            m_warnings.push_back({ConfigurationWarning::EmptyTitle{path}});
        std::optional<KeyboardShortcut> shortcut;
        if (const auto raw = stringMember(entry, "shortcut")) {
            shortcut = KeyboardShortcut::parsing(*raw);
            if (!shortcut)
                m_warnings.push_back(
                    {ConfigurationWarning::InvalidShortcut{title, std::string(*raw)}});
        }
        nodes.push_back({ShellCommand(
            Uuid::random(), title.empty() ? std::string(*command) : title, std::string(*command),
            optionalString(entry, "icon"), std::move(shortcut),
            optionalString(entry, "workingDirectory"), boolMember(entry, "confirm"))});
    }

    static std::optional<std::string> optionalString(const rapidjson::Value& entry,
                                                     std::string_view key) {
        if (const auto value = stringMember(entry, key))
            return std::string(*value);
        return std::nullopt;
    }
};

const rapidjson::Value& emptyObject() {
    static const rapidjson::Value object(rapidjson::kObjectType);
    return object;
}

} // namespace

Configuration readV2(const rapidjson::Value& root, SortMode sortMode) {
    if (!root.IsObject())
        failTopLevelNotAnObject();
    const rapidjson::Value* items = member(root, "items");
    if (items == nullptr || !items->IsArray())
        throw ConfigurationError(ConfigurationError::UnexpectedStructure{
            "Der Schl\u00FCssel \u201Eitems\u201C fehlt oder ist kein Array."});

    V2EntryReader reader(sortMode);
    Warnings& warnings = reader.warnings();
    checkUnknownKeys(root, {"version", "settings", "items", "$schema"}, "", warnings);
    const rapidjson::Value* settingsValue = member(root, "settings");
    const rapidjson::Value& settingsObject =
        settingsValue != nullptr && settingsValue->IsObject() ? *settingsValue : emptyObject();
    checkUnknownKeys(settingsObject, {"terminal", "openIn", "editor", "launchAtLogin"}, "settings.",
                     warnings);
    ConfigurationSettings settings =
        readSettings(settingsObject, {"terminal", "openIn", "editor", "launchAtLogin"}, warnings);

    std::vector<MenuNode> nodes = reader.readEntries(*items, "items");
    return {std::move(settings), std::move(nodes), ConfigurationFormat::v2, std::move(warnings)};
}

} // namespace kelvane::ConfigurationReaders
