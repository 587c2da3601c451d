#include "KelvaneCore/Search/FuzzyMatcher.hpp"

#include <bit>
#include <cstring>
#include <span>

namespace kelvane::FuzzyMatcher {
namespace {

constexpr std::int64_t consecutiveBonus = 8;
constexpr std::int64_t wordStartBonus = 6;
constexpr std::int64_t characterPoint = 1;
constexpr std::size_t surplusCharactersPerPoint = 8;

// ASCII text is examined eight bytes at a time.
constexpr std::uint64_t ones = 0x0101010101010101ULL;
constexpr std::uint64_t highBits = 0x8080808080808080ULL;
constexpr std::uint64_t caseBits = 0x2020202020202020ULL;

std::uint64_t wordAt(std::string_view text, std::size_t offset) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + offset, sizeof word);
    return word;
}

/// The high bit of every zero byte of `word` set; a borrow can add false bits, but only above
/// the lowest zero byte.
std::uint64_t zeroBytes(std::uint64_t word) {
    return (word - ones) & ~word & highBits;
}

/// ASCII without carriage returns, the one text in which every byte is a character of its
/// own (a carriage return joins a following line feed).
bool isSingleByteText(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const std::uint64_t word = wordAt(text, i);
        if (((word & highBits) | zeroBytes(word ^ (ones * '\r'))) != 0)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80 || text[i] == '\r')
            return false;
    return true;
}

char asciiLowercased(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// A single-byte haystack, lower-cased on the fly, against a single-byte needle.
struct ByteHaystack {
    std::string_view text;
    std::string_view needle;

    std::size_t size() const { return text.size(); }

    /// The first position from `from` on that holds the needle character, or `size()`.
    std::size_t find(std::size_t from, std::size_t needleIndex) const {
        const char wanted = needle[needleIndex];
        std::size_t i = from;
        if constexpr (std::endian::native == std::endian::little) {
            // Setting the case bit lower-cases a letter and nothing else matters: only the
            // two cases of a letter equal it after that.
            const std::uint64_t fold = wanted >= 'a' && wanted <= 'z' ? caseBits : 0;
            const std::uint64_t pattern = ones * static_cast<unsigned char>(wanted);
            for (; i + 8 <= text.size(); i += 8) {
                const std::uint64_t hits = zeroBytes((wordAt(text, i) | fold) ^ pattern);
                if (hits != 0)
                    return i + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
            }
        }
        while (i < text.size() && asciiLowercased(text[i]) != wanted)
            ++i;
        return i;
    }

    bool isLetterOrNumber(std::size_t position) const {
        return Unicode::startsWithLetterOrNumber(text.substr(position, 1));
    }
};

/// The needle's characters: its bytes when each is a character, else the text split up.
struct NeedleCharacters {
    std::string_view bytes;
    const std::vector<std::string_view>* split = nullptr;

    std::string_view operator[](std::size_t index) const {
        return split ? (*split)[index] : bytes.substr(index, 1);
    }
    std::size_t size() const { return split ? split->size() : bytes.size(); }
};

/// Whether the bytes of the needle's characters occur in order in `text`: necessary for a
/// match, and much cheaper to rule out than splitting `text` into characters.
bool containsBytesInOrder(std::string_view text, const NeedleCharacters& needle) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        const std::size_t found = text.find(needle[i], from);
        if (found == std::string_view::npos)
            return false;
        from = found + needle[i].size();
    }
    return true;
}

/// A lower-cased haystack split into characters, against a needle split the same way. A
/// text carried over from before the haystack can join its first character.
struct CharacterHaystack {
    std::span<const std::string_view> characters;
    const NeedleCharacters& needle;
    std::string_view carried = {};

    std::size_t size() const { return characters.size(); }

    std::size_t find(std::size_t from, std::size_t needleIndex) const {
        while (from < characters.size() && !holds(from, needle[needleIndex]))
            ++from;
        return from;
    }
    bool isLetterOrNumber(std::size_t position) const {
        return Unicode::startsWithLetterOrNumber(
            position == 0 && !carried.empty() ? carried : characters[position]);
    }

private:
    bool holds(std::size_t position, std::string_view wanted) const {
        const std::string_view character = characters[position];
        if (position > 0 || carried.empty())
            return character == wanted;
        return wanted.size() == carried.size() + character.size() && wanted.starts_with(carried) &&
               wanted.ends_with(character);
    }
};

} // namespace

template <typename Haystack>
void Needle::advance(const Haystack& haystack, std::size_t needleLength, Progress& progress,
                     std::vector<std::int64_t>* indices) {
    const std::size_t length = haystack.size();
    std::size_t position = 0;
    while (progress.matched < needleLength) {
        position = haystack.find(position, progress.matched);
        if (position == length)
            break;
        const auto absolute = static_cast<std::int64_t>(progress.length + position);
        if (absolute == progress.previous + 1)
            progress.score += consecutiveBonus;
        const bool afterLetterOrNumber =
            position == 0 ? progress.afterLetterOrNumber : haystack.isLetterOrNumber(position - 1);
        if (!afterLetterOrNumber)
            progress.score += wordStartBonus;
        progress.score += characterPoint;
        if (indices)
            indices->push_back(absolute);
        progress.previous = absolute;
        ++progress.matched;
        ++position;
    }
    progress.length += length;
    if (length > 0)
        progress.afterLetterOrNumber = haystack.isLetterOrNumber(length - 1);
}

Needle::Needle(std::string_view needle) {
    Unicode::lowercase(needle, m_lowered);
    // Needles are split only when they must be: a pasted text can be long.
    m_singleBytes = isSingleByteText(m_lowered);
    if (!m_singleBytes)
        m_splitter.split(m_lowered, m_characters);
    m_length = m_singleBytes ? m_lowered.size() : m_characters.size();
}

std::optional<Match> Needle::match(std::string_view haystack) {
    Match result;
    const std::optional<std::int64_t> score = scan(haystack, &result.matchedIndices);
    if (!score)
        return std::nullopt;
    result.score = *score;
    return result;
}

std::optional<std::int64_t> Needle::score(std::string_view haystack) {
    return scan(haystack, nullptr);
}

// A group path is joined from its titles, each followed by a blank. Lower-casing a title
// cannot depend on the blanks around it, and nothing before a blank reaches past it when the
// text is split into characters; only marks after it can join it, and only characters that bind
// to whatever follows can join it from before. So each title is scanned once, as the blank
// before it, the title and the blank after it, and the scan stops before that last blank, whose
// character may still grow: what joined it from before is carried on to the next piece.
Needle::PathScan Needle::extendedPath(const PathScan* parent, std::string_view title) {
    PathScan path;
    const Progress start = parent ? parent->m_beforeLast : Progress{};
    path.m_singleBytes = (!parent || parent->m_singleBytes) && isSingleByteText(title);
    if (m_length == 0)
        return path;
    if (m_singleBytes && (!parent || parent->m_carried.empty()) && isSingleByteText(title)) {
        path.m_beforeLast = parent ? parent->m_whole : start;
        advance(ByteHaystack{title, m_lowered}, m_length, path.m_beforeLast, nullptr);
        path.m_whole = path.m_beforeLast;
        advance(ByteHaystack{" ", m_lowered}, m_length, path.m_whole, nullptr);
        return path;
    }
    m_joined.assign(parent ? " " : "");
    Unicode::lowercase(title, m_loweredHaystack);
    m_joined.append(m_loweredHaystack).append(" ");
    path.m_beforeLast = start;
    advanceCharacters(parent ? std::string_view(parent->m_carried) : std::string_view(), m_joined,
                      1, path.m_beforeLast);
    const std::string_view last = m_haystackCharacters.back();
    path.m_carried.assign(last.substr(0, last.size() - 1));
    path.m_whole = path.m_beforeLast;
    const NeedleCharacters needle{m_lowered, m_singleBytes ? nullptr : &m_characters};
    advance(CharacterHaystack{{&last, 1}, needle}, m_length, path.m_whole, nullptr);
    return path;
}

std::optional<std::int64_t> Needle::scoreAfter(const PathScan& path, std::string_view haystack) {
    if (m_length == 0)
        return 0;
    const bool singleBytes = isSingleByteText(haystack);
    if (singleBytes && path.m_carried.empty()) {
        // A needle character of several bytes cannot be found in single-byte texts.
        if (!m_singleBytes)
            return path.m_singleBytes ? std::nullopt : scoreAfterCharacters(path, haystack);
        Progress progress = path.m_whole;
        advance(ByteHaystack{haystack, m_lowered}, m_length, progress, nullptr);
        return finish(progress);
    }
    return scoreAfterCharacters(path, haystack);
}

std::optional<std::int64_t> Needle::scoreAfterCharacters(const PathScan& path,
                                                         std::string_view haystack) {
    Unicode::lowercase(haystack, m_loweredHaystack);
    m_joined.assign(" ").append(m_loweredHaystack);
    Progress progress = path.m_beforeLast;
    advanceCharacters(path.m_carried, m_joined, 0, progress);
    return finish(progress);
}

void Needle::advanceCharacters(std::string_view carried, std::string_view text,
                               std::size_t unscanned, Progress& progress) {
    m_splitter.split(text, m_haystackCharacters);
    const NeedleCharacters needle{m_lowered, m_singleBytes ? nullptr : &m_characters};
    const std::span<const std::string_view> scanned(m_haystackCharacters.data(),
                                                    m_haystackCharacters.size() - unscanned);
    advance(CharacterHaystack{scanned, needle, carried}, m_length, progress, nullptr);
}

std::optional<std::int64_t> Needle::scan(std::string_view haystack,
                                         std::vector<std::int64_t>* indices) {
    if (m_length == 0)
        return 0;
    Progress progress;
    if (!isSingleByteText(haystack)) {
        Unicode::lowercase(haystack, m_loweredHaystack);
        const NeedleCharacters needle{m_lowered, m_singleBytes ? nullptr : &m_characters};
        if (!containsBytesInOrder(m_loweredHaystack, needle))
            return std::nullopt;
        m_splitter.split(m_loweredHaystack, m_haystackCharacters);
        advance(CharacterHaystack{m_haystackCharacters, needle}, m_length, progress, indices);
    } else if (m_singleBytes) {
        advance(ByteHaystack{haystack, m_lowered}, m_length, progress, indices);
    } else {
        // A needle character of several bytes cannot equal a single-byte character.
        return std::nullopt;
    }
    return finish(progress);
}

std::optional<std::int64_t> Needle::finish(const Progress& progress) const {
    if (progress.matched < m_length)
        return std::nullopt;
    return progress.score -
           static_cast<std::int64_t>((progress.length - m_length) / surplusCharactersPerPoint);
}

std::optional<Match> match(std::string_view needle, std::string_view haystack) {
    return Needle(needle).match(haystack);
}

} // namespace kelvane::FuzzyMatcher
