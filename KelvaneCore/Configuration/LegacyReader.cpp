#include "KelvaneCore/Configuration/ConfigurationReaders.hpp"
#include "KelvaneCore/Configuration/ReaderSupport.hpp"

#include <unordered_set>

namespace kelvane::ConfigurationReaders {
namespace {

using namespace ReaderSupport;

// A title that appears twice in one list is reported once, as its second occurrence writes it.
void checkDuplicateTitles(const std::vector<MenuNode>& nodes, std::string_view label,
                          WarningList& warnings) {
    std::unordered_set<std::string> seen;
    std::unordered_set<std::string> reported;
    for (const MenuNode& node : nodes) {
        if (node.isSeparator())
            continue;
        const std::string title = *node.title();
        std::string key = Unicode::lowercased(title);
        if (seen.contains(key) && reported.insert(key).second)
            warnings.add(ConfigurationWarning::DuplicateTitle{shortened(label), shortened(title)});
        seen.insert(std::move(key));
    }
}

class LegacyEntryReader : public EntryListReader {
public:
    explicit LegacyEntryReader(SortMode sortMode) : EntryListReader(sortMode, "cmds") {}

private:
    void readObject(rapidjson::Value& entry, std::vector<MenuNode>& nodes) override {
        if (const auto command = stringMember(entry, "cmd")) {
            readCommand(entry, *command, nodes);
            return;
        }
        if (entry.MemberCount() == 1 && entry.MemberBegin()->value.IsArray()) {
            nodes.push_back(readGroup(*entry.MemberBegin()));
            return;
        }
        m_warnings.add(
            ConfigurationWarning::SkippedEntry{path(), "weder Befehl (\"cmd\") noch Gruppe"});
    }

    void readCommand(const rapidjson::Value& entry, std::string_view command,
                     std::vector<MenuNode>& nodes) {
        const std::string name(Unicode::trimmed(stringMember(entry, "name").value_or("")));
        const std::string_view trimmedCommand = Unicode::trimmed(command);
        if (trimmedCommand.empty()) {
            m_warnings.add(
                ConfigurationWarning::EmptyCommand{name.empty() ? path() : shortened(name)});
            return;
        }
        if (name.empty())
            m_warnings.add(ConfigurationWarning::EmptyTitle{path()});
        nodes.push_back({ShellCommand(
            Uuid::random(), name.empty() ? std::string(trimmedCommand) : name, std::string(command),
            std::nullopt, std::nullopt, std::nullopt, std::nullopt)});
    }

    MenuNode readGroup(rapidjson::Value::Member& member) {
        // Trimmed as every other title, which the version 2 format would do on the next load.
        const std::string title(Unicode::trimmed(text(member.name)));
        std::vector<MenuNode> children = readGroupEntries(member.value, title);
        checkDuplicateTitles(children, title, m_warnings);
        return {CommandGroup(Uuid::random(), title, std::nullopt, std::move(children))};
    }
};

} // namespace

Configuration readLegacy(rapidjson::Value& root, SortMode sortMode) {
    if (!root.IsObject())
        failTopLevelNotAnObject();
    LegacyEntryReader reader(sortMode);
    WarningList& warnings = reader.warnings();
    checkUnknownKeys(root,
                     {"cmds", "editor", "terminal", "open_in", "launch_at_login", "iTerm_version",
                      "default_theme", "theme", "shell", "ssh_config_ignore_hosts",
                      "ssh_config_ignore_keywords", "show_ssh_config_hosts"},
                     "", warnings);
    ConfigurationSettings settings =
        readSettings(root, {"terminal", "open_in", "editor", "launch_at_login"}, warnings);

    std::vector<MenuNode> nodes;
    if (rapidjson::Value* commands = member(root, "cmds"); commands && commands->IsArray())
        nodes = reader.readEntries(*commands);
    checkDuplicateTitles(nodes, "Men\u00FC", warnings);
    return {std::move(settings), std::move(nodes), ConfigurationFormat::legacyShuttle,
            warnings.take()};
}

} // namespace kelvane::ConfigurationReaders
