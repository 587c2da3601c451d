#include "KelvaneCore/Configuration/ReaderSupport.hpp"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace kelvane::ReaderSupport {
namespace {

const std::string& titleOf(const MenuNode& node) {
    if (const ShellCommand* command = node.command())
        return command->title;
    return node.group()->title;
}

// Entries have a handful of members: comparing each pair is quicker than hashing their names.
constexpr rapidjson::SizeType pairwiseLimit = 16;

bool repeatsAName(const rapidjson::Value& object) {
    const auto begin = object.MemberBegin();
    const auto end = object.MemberEnd();
    if (object.MemberCount() <= pairwiseLimit) {
        for (auto first = begin; first != end; ++first)
            for (auto second = first + 1; second != end; ++second)
                if (text(first->name) == text(second->name))
                    return true;
        return false;
    }
    std::unordered_set<std::string_view> seen;
    seen.reserve(object.MemberCount());
    for (auto entry = begin; entry != end; ++entry)
        if (!seen.insert(text(entry->name)).second)
            return true;
    return false;
}

} // namespace

const rapidjson::Value* member(const rapidjson::Value& object, std::string_view key) {
    const auto found = object.FindMember(
        rapidjson::StringRef(key.data(), static_cast<rapidjson::SizeType>(key.size())));
    return found == object.MemberEnd() ? nullptr : &found->value;
}

rapidjson::Value* member(rapidjson::Value& object, std::string_view key) {
    return const_cast<rapidjson::Value*>(member(std::as_const(object), key));
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

void WarningList::append(std::vector<ConfigurationWarning> warnings) {
    for (ConfigurationWarning& warning : warnings) {
        if (const auto* more = std::get_if<ConfigurationWarning::MoreWarnings>(&warning.kind))
            m_omitted += more->count;
        else
            add(std::move(warning.kind));
    }
}

std::vector<ConfigurationWarning> WarningList::take() {
    if (m_omitted > 0)
        m_kept.push_back({ConfigurationWarning::MoreWarnings{m_omitted}});
    m_omitted = 0;
    return std::move(m_kept);
}

void keepLastOfRepeatedMembers(rapidjson::Value& object, std::string_view keyPrefix,
                               std::string_view path, WarningList& warnings) {
    if (!repeatsAName(object))
        return;
    // Decided before any member moves: a short name is stored inside its member, so the views
    // of the names change when the members do.
    const rapidjson::SizeType count = object.MemberCount();
    const auto begin = object.MemberBegin();
    std::unordered_map<std::string_view, rapidjson::SizeType> lastOccurrence;
    for (rapidjson::SizeType index = 0; index < count; ++index)
        lastOccurrence[text(begin[index].name)] = index;
    std::vector<bool> kept(count);
    std::unordered_set<std::string_view> reported;
    for (rapidjson::SizeType index = 0; index < count; ++index) {
        const std::string_view name = text(begin[index].name);
        kept[index] = lastOccurrence[name] == index;
        if (!kept[index] && reported.insert(name).second)
            warnings.add(ConfigurationWarning::DuplicateKey{
                std::string(path), ShortenedText(keyPrefix).appended(name).shown()});
    }
    rapidjson::SizeType keptCount = 0;
    for (rapidjson::SizeType index = 0; index < count; ++index) {
        if (!kept[index])
            continue;
        if (keptCount != index) {
            begin[keptCount].name = begin[index].name;
            begin[keptCount].value = begin[index].value;
        }
        ++keptCount;
    }
    object.EraseMember(begin + keptCount, object.MemberEnd());
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

std::vector<MenuNode> EntryListReader::readEntries(rapidjson::Value& array) {
    std::vector<MenuNode> nodes;
    // Only objects become nodes: a list of a million numbers must not reserve a million nodes.
    nodes.reserve(static_cast<std::size_t>(
        std::count_if(array.Begin(), array.End(),
                      [](const rapidjson::Value& element) { return element.IsObject(); })));
    for (rapidjson::Value& element : array.GetArray()) {
        if (element.IsObject()) {
            keepLastOfRepeatedMembers(element, "", path(), m_warnings);
            readObject(element, nodes);
        } else {
            m_warnings.add(ConfigurationWarning::SkippedEntry{path(), "kein Objekt"});
        }
    }
    if (m_comparator)
        sortAlphabetically(nodes, *m_comparator);
    return nodes;
}

std::vector<MenuNode> EntryListReader::readGroupEntries(rapidjson::Value& array,
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
