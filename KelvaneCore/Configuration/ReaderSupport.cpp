#include "KelvaneCore/Configuration/ReaderSupport.hpp"

#include <algorithm>
#include <numeric>

namespace kelvane::ReaderSupport {
namespace {

const std::string& titleOf(const MenuNode& node) {
    if (const ShellCommand* command = node.command())
        return command->title;
    return node.group()->title;
}

} // namespace

const rapidjson::Value* member(const rapidjson::Value& object, std::string_view key) {
    const auto found = object.FindMember(
        rapidjson::StringRef(key.data(), static_cast<rapidjson::SizeType>(key.size())));
    return found == object.MemberEnd() ? nullptr : &found->value;
}

std::string_view text(const rapidjson::Value& string) {
    return {string.GetString(), string.GetStringLength()};
}

std::optional<std::string_view> stringValue(const rapidjson::Value* value) {
    if (value == nullptr || !value->IsString())
        return std::nullopt;
    return text(*value);
}

std::optional<bool> boolValue(const rapidjson::Value* value) {
    if (value == nullptr || !value->IsBool())
        return std::nullopt;
    return value->GetBool();
}

std::optional<std::string_view> stringMember(const rapidjson::Value& object, std::string_view key) {
    return stringValue(member(object, key));
}

std::optional<bool> boolMember(const rapidjson::Value& object, std::string_view key) {
    return boolValue(member(object, key));
}

void WarningList::add(ConfigurationWarning::Kind kind) {
    if (m_kept.size() < maxKept)
        m_kept.push_back({std::move(kind)});
    else
        ++m_omitted;
}

std::vector<ConfigurationWarning> WarningList::take() {
    if (m_omitted > 0)
        m_kept.push_back({ConfigurationWarning::MoreWarnings{m_omitted}});
    m_omitted = 0;
    return std::move(m_kept);
}

void checkUnknownKeys(const rapidjson::Value& object, std::initializer_list<std::string_view> known,
                      std::string_view prefix, WarningList& warnings) {
    for (const auto& entry : object.GetObject()) {
        const std::string_view name = text(entry.name);
        if (name.starts_with('_') || std::find(known.begin(), known.end(), name) != known.end())
            continue;
        warnings.add(
            ConfigurationWarning::UnknownKey{ShortenedText(prefix).appended(name).shown()});
    }
}

ConfigurationSettings readSettings(const rapidjson::Value& object, const SettingsKeys& keys,
                                   WarningList& warnings) {
    ConfigurationSettings settings;
    const LenientTerminalKind terminal = lenientTerminalKind(stringMember(object, keys.terminal));
    settings.terminal = terminal.kind;
    if (terminal.unsupported)
        warnings.add(ConfigurationWarning::UnsupportedTerminal{shortened(*terminal.unsupported)});
    settings.openIn = lenientOpenBehavior(stringMember(object, keys.openIn));
    settings.editor = lenientEditorSetting(stringMember(object, keys.editor));
    settings.launchAtLogin = boolMember(object, keys.launchAtLogin);
    return settings;
}

void sortAlphabetically(std::vector<MenuNode>& nodes,
                        const Unicode::LocalizedCaseInsensitiveComparator& comparator) {
    // Positions are sorted rather than the nodes, so that each node moves only once.
    std::vector<std::size_t> order(nodes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto before = [&](std::size_t a, std::size_t b) {
        return comparator.compare(titleOf(nodes[a]), titleOf(nodes[b])) < 0;
    };
    auto stretchStart = order.begin();
    while (stretchStart != order.end()) {
        const auto stretchEnd = std::find_if(stretchStart, order.end(), [&](std::size_t index) {
            return nodes[index].isSeparator();
        });
        std::stable_sort(stretchStart, stretchEnd, before);
        stretchStart = stretchEnd == order.end() ? stretchEnd : stretchEnd + 1;
    }
    std::vector<MenuNode> sorted;
    sorted.reserve(nodes.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(nodes[index]));
    nodes = std::move(sorted);
}

EntryListReader::EntryListReader(SortMode sortMode, std::string_view listName)
    : m_paths{ShortenedText(listName)} {
    if (sortMode == SortMode::alphabetical)
        m_comparator.emplace();
}

std::vector<MenuNode> EntryListReader::readEntries(const rapidjson::Value& array) {
    std::vector<MenuNode> nodes;
    // Only objects become nodes: a list of a million numbers must not reserve a million nodes.
    nodes.reserve(static_cast<std::size_t>(
        std::count_if(array.Begin(), array.End(),
                      [](const rapidjson::Value& element) { return element.IsObject(); })));
    for (const rapidjson::Value& element : array.GetArray()) {
        if (element.IsObject())
            readObject(element, nodes);
        else
            m_warnings.add(ConfigurationWarning::SkippedEntry{path(), "kein Objekt"});
    }
    if (m_comparator)
        sortAlphabetically(nodes, *m_comparator);
    return nodes;
}

std::vector<MenuNode> EntryListReader::readGroupEntries(const rapidjson::Value& array,
                                                        std::string_view title) {
    m_paths.push_back(m_paths.back().appended(" \u203A ").appended(title));
    std::vector<MenuNode> nodes = readEntries(array);
    m_paths.pop_back();
    return nodes;
}

std::string EntryListReader::groupPath(std::string_view title) const {
    return m_paths.back().appended(" \u203A ").appended(title).shown();
}

void failTopLevelNotAnObject() {
    throw ConfigurationError(
        ConfigurationError::UnexpectedStructure{"Die oberste Ebene muss ein JSON-Objekt sein."});
}

} // namespace kelvane::ReaderSupport
