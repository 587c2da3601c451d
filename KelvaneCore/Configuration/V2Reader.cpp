#include "KelvaneCore/Configuration/ConfigurationReaders.hpp"
#include "KelvaneCore/Configuration/ReaderSupport.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

namespace kelvane::ConfigurationReaders {
namespace {

using namespace ReaderSupport;

// The members an entry is read from, found in one pass over the entry.
class EntryMembers {
public:
    enum Key { type, title, items, command, icon, shortcut, workingDirectory, confirm, keyCount };

    explicit EntryMembers(rapidjson::Value& entry) : m_values(members(entry, names)) {}

    rapidjson::Value* operator[](Key key) const { return m_values[key]; }
    std::optional<std::string_view> string(Key key) const { return stringValue(m_values[key]); }
    std::optional<std::string> ownedString(Key key) const {
        if (const auto value = string(key))
            return std::string(*value);
        return std::nullopt;
    }

private:
    static constexpr std::array<std::string_view, keyCount> names = {
        "type", "title", "items", "command", "icon", "shortcut", "workingDirectory", "confirm"};
    std::array<rapidjson::Value*, keyCount> m_values;
};

class V2EntryReader : public EntryListReader {
public:
    explicit V2EntryReader(SortMode sortMode) : EntryListReader(sortMode, "items") {}

private:
    void readObject(rapidjson::Value& entry, std::vector<MenuNode>& nodes) override {
        const EntryMembers members(entry);
        const std::string type = entryType(members);
        const std::string title(Unicode::trimmed(members.string(EntryMembers::title).value_or("")));
        if (type == "separator")
            nodes.push_back({Separator{Uuid::random()}});
        else if (type == "group")
            nodes.push_back(readGroup(members, title));
        else if (type == "command")
            readCommand(members, title, nodes);
        else
            m_warnings.add(ConfigurationWarning::SkippedEntry{
                path(), "unbekannter Typ " + germanQuoted(shortened(type))});
    }

    static std::string entryType(const EntryMembers& members) {
        if (const auto type = members.string(EntryMembers::type))
            return Unicode::lowercased(*type);
        return members[EntryMembers::items] != nullptr ? "group" : "command";
    }

    MenuNode readGroup(const EntryMembers& members, const std::string& title) {
        if (title.empty())
            m_warnings.add(ConfigurationWarning::EmptyTitle{groupPath(title)});
        std::vector<MenuNode> children;
        if (rapidjson::Value* items = members[EntryMembers::items]; items && items->IsArray())
            children = readGroupEntries(*items, title);
        return {CommandGroup(Uuid::random(), title, members.ownedString(EntryMembers::icon),
                             std::move(children))};
    }

    void readCommand(const EntryMembers& members, const std::string& title,
                     std::vector<MenuNode>& nodes) {
        const auto command = members.string(EntryMembers::command);
        if (!command || Unicode::trimmed(*command).empty()) {
            m_warnings.add(
                ConfigurationWarning::EmptyCommand{title.empty() ? path() : shortened(title)});
            return;
        }
        if (title.empty())
            m_warnings.add(ConfigurationWarning::EmptyTitle{path()});
        std::optional<KeyboardShortcut> shortcut;
        if (const auto raw = members.string(EntryMembers::shortcut)) {
            shortcut = KeyboardShortcut::parsing(*raw);
            if (!shortcut)
                m_warnings.add(
                    ConfigurationWarning::InvalidShortcut{shortened(title), shortened(*raw)});
        }
        // The fallback title is trimmed as a written one is, so a rewritten file keeps it.
        nodes.push_back({ShellCommand(
            Uuid::random(), title.empty() ? std::string(Unicode::trimmed(*command)) : title,
            std::string(*command), members.ownedString(EntryMembers::icon), std::move(shortcut),
            members.ownedString(EntryMembers::workingDirectory),
            boolValue(members[EntryMembers::confirm]))});
    }
};

const rapidjson::Value& emptyObject() {
    static const rapidjson::Value object(rapidjson::kObjectType);
    return object;
}

} // namespace

Configuration readV2(rapidjson::Value& root, SortMode sortMode) {
    if (!root.IsObject())
        failTopLevelNotAnObject();
    rapidjson::Value* items = member(root, "items");
    if (items == nullptr || !items->IsArray())
        throw ConfigurationError(ConfigurationError::UnexpectedStructure{
            "Der Schl\u00FCssel \u201Eitems\u201C fehlt oder ist kein Array."});

    V2EntryReader reader(sortMode);
    WarningList& warnings = reader.warnings();
    checkUnknownKeys(root, {"version", "settings", "items", "$schema"}, "", warnings);
    rapidjson::Value* settingsValue = member(root, "settings");
    const bool hasSettings = settingsValue != nullptr && settingsValue->IsObject();
    if (hasSettings)
        keepLastOfRepeatedMembers(*settingsValue, "settings.", "", warnings);
    const rapidjson::Value& settingsObject = hasSettings ? *settingsValue : emptyObject();
    checkUnknownKeys(settingsObject, {"terminal", "openIn", "editor", "launchAtLogin"}, "settings.",
                     warnings);
    ConfigurationSettings settings =
        readSettings(settingsObject, {"terminal", "openIn", "editor", "launchAtLogin"}, warnings);

    std::vector<MenuNode> nodes = reader.readEntries(*items);
    return {std::move(settings), std::move(nodes), ConfigurationFormat::v2, warnings.take()};
}

} // namespace kelvane::ConfigurationReaders
