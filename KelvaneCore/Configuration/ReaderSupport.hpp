#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Text/ShortenedText.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <rapidjson/document.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// What the readers of both file formats share.
namespace kelvane::ReaderSupport {

/// The member's value, or none when the object has no member of that name.
const rapidjson::Value* member(const rapidjson::Value& object, std::string_view key);
rapidjson::Value* member(rapidjson::Value& object, std::string_view key);
/// The member's text when it is a string.
std::optional<std::string_view> stringMember(const rapidjson::Value& object, std::string_view key);
/// The member's value when it is a boolean.
std::optional<bool> boolMember(const rapidjson::Value& object, std::string_view key);
std::string_view text(const rapidjson::Value& string);
/// The text of a value that is there and a string.
std::optional<std::string_view> stringValue(const rapidjson::Value* value);
/// The truth value of a value that is there and a boolean.
std::optional<bool> boolValue(const rapidjson::Value* value);

/// The values of the members named `keys`, in the order of `keys`, found in one pass over the
/// object: none where there is no such member, the first where a name occurs twice (as `member`
/// finds it).
template <std::size_t count>
std::array<rapidjson::Value*, count> members(rapidjson::Value& object,
                                             const std::array<std::string_view, count>& keys) {
    std::array<rapidjson::Value*, count> values{};
    const auto begin = object.MemberBegin();
    for (rapidjson::SizeType index = 0; index < object.MemberCount(); ++index) {
        auto& entry = begin[index];
        const std::string_view name = text(entry.name);
        const auto key = std::find(keys.begin(), keys.end(), name);
        if (key != keys.end() && values[key - keys.begin()] == nullptr)
            values[key - keys.begin()] = &entry.value;
    }
    return values;
}

/// The warnings of one load. However many entries a file gets wrong, only the first `maxKept`
/// warnings are kept and the rest are counted, in a last warning that says how many there were.
class WarningList {
public:
    static constexpr std::size_t maxKept = 100;

    void add(ConfigurationWarning::Kind kind);
    /// Adds the warnings of another list, as `take` gave them, keeping their count.
    void append(std::vector<ConfigurationWarning> warnings);
    /// The kept warnings in the order found, then the count of the others if there were any.
    std::vector<ConfigurationWarning> take();

private:
    std::vector<ConfigurationWarning> m_kept;
    std::size_t m_omitted = 0;
};

/// Leaves only the last occurrence of every member name that the object repeats, as the common
/// JSON tools read such an object, and warns about each such name: `keyPrefix` and the name,
/// with `path` the entry's path (empty outside entries).
void keepLastOfRepeatedMembers(rapidjson::Value& object, std::string_view keyPrefix,
                               std::string_view path, WarningList& warnings);

/// Warns about every member name outside `known` that does not start with an underscore.
void checkUnknownKeys(const rapidjson::Value& object, std::initializer_list<std::string_view> known,
                      std::string_view prefix, WarningList& warnings);

/// The member names under which a format keeps its settings.
struct SettingsKeys {
    std::string_view terminal;
    std::string_view openIn;
    std::string_view editor;
    std::string_view launchAtLogin;
};
ConfigurationSettings readSettings(const rapidjson::Value& object, const SettingsKeys& keys,
                                   WarningList& warnings);

/// Orders each stretch between separators by title, as the user's language sorts, ignoring
/// case; equal titles keep their order and separators keep their places.
void sortAlphabetically(std::vector<MenuNode>& nodes,
                        const Unicode::LocalizedCaseInsensitiveComparator& comparator);

/// Reads lists of entries of one format, collecting warnings and sorting every list as asked.
///
/// Warnings name the list an entry stands in by its path: the name of the top-level list, then
/// for each enclosing group " › " and its title. Paths are kept shortened, so that a long title
/// costs its length once, not once per warning or per level below it.
class EntryListReader {
public:
    /// `listName` is the path of the top-level list.
    EntryListReader(SortMode sortMode, std::string_view listName);
    virtual ~EntryListReader() = default;

    /// Every entry of the top-level array in order, then sorted when the sort mode is
    /// alphabetical. An entry that repeats a member name keeps only its last occurrence.
    std::vector<MenuNode> readEntries(rapidjson::Value& array);

    WarningList& warnings() { return m_warnings; }

protected:
    /// Appends the node an entry object stands for, or records why it was skipped.
    virtual void readObject(rapidjson::Value& entry, std::vector<MenuNode>& nodes) = 0;

    /// The entries of a group with this title in the list being read, read like
    /// `readEntries` under the group's path.
    std::vector<MenuNode> readGroupEntries(rapidjson::Value& array, std::string_view title);

    /// The path of the list being read, as a warning shows it.
    std::string path() const { return m_paths.back().shown(); }
    /// The path of the entries of a group with this title in the list being read.
    std::string groupPath(std::string_view title) const;

    WarningList m_warnings;

private:
    std::optional<Unicode::LocalizedCaseInsensitiveComparator> m_comparator;
    std::vector<ShortenedText> m_paths;
};

/// Throws the error for a top level that is not an object.
[[noreturn]] void failTopLevelNotAnObject();

} // namespace kelvane::ReaderSupport
