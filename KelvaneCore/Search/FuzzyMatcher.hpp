#pragma once

#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Decides whether typed text occurs as a subsequence of a text, ignoring case, and scores
/// the occurrence. Texts are compared by user-perceived characters (extended grapheme
/// clusters) after locale-independent Unicode lower-casing; ASCII text never pays for
/// grapheme segmentation.
namespace kelvane::FuzzyMatcher {

/// Where and how well a needle occurs in a haystack.
struct Match {
    /// Higher is better; long haystacks can make it negative.
    std::int64_t score = 0;
    /// For each character of the needle, in order, its position in the lower-cased haystack,
    /// counted in user-perceived characters from 0 (not bytes, not code points); strictly
    /// increasing. For ASCII text without carriage returns, characters are bytes.
    std::vector<std::int64_t> matchedIndices;

    bool operator==(const Match&) const = default;
};

/// A needle lower-cased and split into characters once, to be matched against many
/// haystacks. Keeps buffers between calls, so one instance must not be used by two threads
/// at once.
class Needle {
public:
    explicit Needle(std::string_view needle);

    /// The same as `FuzzyMatcher::match(needle, haystack)`.
    std::optional<Match> match(std::string_view haystack);

    /// Only the score of `match(haystack)`, without recording the positions.
    std::optional<std::int64_t> score(std::string_view haystack);

    /// Where a scan stands after a group path: the titles of the groups, each followed by a
    /// blank, as the search joins them before a command's title. Made once per group, it lets
    /// every command and subgroup of the group continue the scan instead of repeating it.
    class PathScan;

    /// The scan over the path of the group `title` inside the group that `parent` was made
    /// for, or at the top level when `parent` is none. Costs the length of the title.
    PathScan extendedPath(const PathScan* parent, std::string_view title);

    /// The same as `score(pathText + haystack)`, where pathText is the group path `path` was
    /// made for. Costs the length of the haystack, never that of the path.
    std::optional<std::int64_t> scoreAfter(const PathScan& path, std::string_view haystack);

private:
    /// Where a greedy scan over a text, read in pieces, stands.
    struct Progress {
        /// Needle characters matched so far.
        std::size_t matched = 0;
        std::int64_t score = 0;
        /// Haystack characters read so far.
        std::size_t length = 0;
        /// Position of the last match; -2 keeps the first from counting as consecutive.
        std::int64_t previous = -2;
        /// Whether the character before the next piece is a letter or a number.
        bool afterLetterOrNumber = false;
    };

    template <typename Haystack>
    static void advance(const Haystack& haystack, std::size_t needleLength, Progress& progress,
                        std::vector<std::int64_t>* indices);
    std::optional<std::int64_t> scan(std::string_view haystack, std::vector<std::int64_t>* indices);
    std::optional<std::int64_t> finish(const Progress& progress) const;
    std::optional<std::int64_t> scoreAfterCharacters(const PathScan& path,
                                                     std::string_view haystack);
    /// Splits the lower-cased `text` into `m_haystackCharacters` and scans them from `progress`,
    /// the first joined to `carried`, leaving the last `unscanned` characters out.
    void advanceCharacters(std::string_view carried, std::string_view text, std::size_t unscanned,
                           Progress& progress);

    Unicode::CharacterSplitter m_splitter;
    std::string m_lowered;
    /// True when every byte of the needle is a character of its own.
    bool m_singleBytes = true;
    /// Otherwise its characters, as views into `m_lowered`; the splitter makes the class
    /// immovable, which keeps them valid.
    std::vector<std::string_view> m_characters;
    /// The number of characters of the needle.
    std::size_t m_length = 0;

    std::string m_loweredHaystack;
    std::vector<std::string_view> m_haystackCharacters;
    std::string m_joined;
};

class Needle::PathScan {
    friend class Needle;

    /// Over every character of the path text but the last, the closing blank.
    Progress m_beforeLast;
    /// What joins that blank to one character: the end of the last title when it ends in
    /// characters that bind to what follows them; mostly empty.
    std::string m_carried;
    /// Over the whole path text.
    Progress m_whole;
    bool m_singleBytes = true;
};

/// The greedy, never backtracking match of `needle` in `haystack`: each needle character
/// takes the earliest possible haystack character. Absent when the needle is not a
/// subsequence. An empty needle matches anything with score 0 and no positions.
///
/// Per matched character: 1 point, 8 more when it directly follows the previous match, 6 more
/// at a word start (the first character, or one after a character that is neither a letter
/// nor a number). Then one point is subtracted for every full 8 unmatched characters.
std::optional<Match> match(std::string_view needle, std::string_view haystack);

} // namespace kelvane::FuzzyMatcher
