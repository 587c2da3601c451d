#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Configuration/ConfigurationError.hpp"
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

/// Leaves only the last occurrence of every member name that the object repeats, as the common
/// JSON tools read such an object, and warns about each such name: `keyPrefix` and the name,
/// with `path` the entry's path (empty outside entries).
void keepLastOfRepeatedMembers(rapidjson::Value& object, std::string_view keyPrefix,
                               std::string_view path, std::vector<ConfigurationWarning>& warnings);

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

/// Warns about every member name outside `known` that does not start with an underscore.
void checkUnknownKeys(const rapidjson::Value& object, std::initializer_list<std::string_view> known,
                      std::string_view prefix, std::vector<ConfigurationWarning>& warnings);

/// The member names under which a format keeps its settings.
struct SettingsKeys {
    std::string_view terminal;
    std::string_view openIn;
    std::string_view editor;
    std::string_view launchAtLogin;
};
ConfigurationSettings readSettings(const rapidjson::Value& object, const SettingsKeys& keys,
                                   std::vector<ConfigurationWarning>& warnings);

/// The path of a group's entries: the path of the group's list, " › " and the title.
std::string childPath(std::string_view path, std::string_view title);

/// Orders each stretch between separators by title, as the user's language sorts, ignoring
/// case; equal titles keep their order and separators keep their places.
void sortAlphabetically(std::vector<MenuNode>& nodes,
                        const Unicode::LocalizedCaseInsensitiveComparator& comparator);

/// Reads lists of entries of one format, collecting warnings and sorting every list as asked.
class EntryListReader {
public:
    explicit EntryListReader(SortMode sortMode);
    virtual ~EntryListReader() = default;

    /// Every entry of the array in order, then sorted when the sort mode is alphabetical. An
    /// entry that repeats a member name keeps only its last occurrence.
    std::vector<MenuNode> readEntries(rapidjson::Value& array, const std::string& path);

    std::vector<ConfigurationWarning>& warnings() { return m_warnings; }

protected:
    /// Appends the node an entry object stands for, or records why it was skipped.
    virtual void readObject(rapidjson::Value& entry, const std::string& path,
                            std::vector<MenuNode>& nodes) = 0;

    std::vector<ConfigurationWarning> m_warnings;

private:
    std::optional<Unicode::LocalizedCaseInsensitiveComparator> m_comparator;
};

/// Throws the error for a top level that is not an object.
[[noreturn]] void failTopLevelNotAnObject();

} // namespace kelvane::ReaderSupport
