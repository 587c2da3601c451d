#include "KelvaneCore/Search/FuzzyMatcher.hpp"

#include <cstring>

namespace kelvane::FuzzyMatcher {
namespace {

constexpr std::int64_t consecutiveBonus = 8;
constexpr std::int64_t wordStartBonus = 6;
constexpr std::int64_t characterPoint = 1;
constexpr std::size_t surplusCharactersPerPoint = 8;

/// ASCII without carriage returns, the one text in which every byte is a character of its
/// own (a carriage return joins a following line feed).
bool isSingleByteText(std::string_view text) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    // Eight bytes at a time: no high bit set, and no byte equal to '\r' (a zero byte after
    // the exclusive or, found with the usual carry trick, which cannot err for ASCII bytes).
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof word);
        const std::uint64_t carriageReturns = word ^ (ones * '\r');
        if (((word | ((carriageReturns - ones) & ~carriageReturns)) & highBits) != 0)
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
    bool equals(std::size_t position, std::size_t needleIndex) const {
        return asciiLowercased(text[position]) == needle[needleIndex];
    }
    bool isLetterOrNumber(std::size_t position) const {
        return Unicode::startsWithLetterOrNumber(text.substr(position, 1));
    }
};

/// A lower-cased haystack split into characters, against a needle split the same way.
struct CharacterHaystack {
    const std::vector<std::string_view>& characters;
    const std::vector<std::string_view>& needle;

    std::size_t size() const { return characters.size(); }
    bool equals(std::size_t position, std::size_t needleIndex) const {
        return characters[position] == needle[needleIndex];
    }
    bool isLetterOrNumber(std::size_t position) const {
        return Unicode::startsWithLetterOrNumber(characters[position]);
    }
};

template <typename Haystack>
std::optional<std::int64_t> greedyScan(const Haystack& haystack, std::size_t needleLength,
                                       std::vector<std::int64_t>* indices) {
    const std::size_t length = haystack.size();
    if (length < needleLength)
        return std::nullopt;
    std::int64_t score = 0;
    std::size_t position = 0;
    // Never one before a real position, so the first match cannot count as consecutive.
    std::size_t previous = length + 1;
    for (std::size_t k = 0; k < needleLength; ++k) {
        while (position < length && !haystack.equals(position, k))
            ++position;
        if (position == length)
            return std::nullopt;
        if (position == previous + 1)
            score += consecutiveBonus;
        if (position == 0 || !haystack.isLetterOrNumber(position - 1))
            score += wordStartBonus;
        score += characterPoint;
        if (indices)
            indices->push_back(static_cast<std::int64_t>(position));
        previous = position;
        ++position;
    }
    return score - static_cast<std::int64_t>((length - needleLength) / surplusCharactersPerPoint);
}

/// Whether the bytes of the needle's characters occur in order in `text`: necessary for a
/// match, and much cheaper to rule out than splitting `text` into characters.
bool containsBytesInOrder(std::string_view text, const std::vector<std::string_view>& needle) {
    std::size_t from = 0;
    for (const std::string_view character : needle) {
        const std::size_t found = text.find(character, from);
        if (found == std::string_view::npos)
            return false;
        from = found + character.size();
    }
    return true;
}

} // namespace

Needle::Needle(std::string_view needle) {
    Unicode::lowercase(needle, m_lowered);
    m_splitter.split(m_lowered, m_characters);
    m_singleBytes = m_characters.size() == m_lowered.size();
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

std::optional<std::int64_t> Needle::scan(std::string_view haystack,
                                         std::vector<std::int64_t>* indices) {
    if (m_characters.empty())
        return 0;
    if (!isSingleByteText(haystack))
        return scanCharacters(haystack, indices);
    // A needle character of several bytes cannot equal a single-byte character.
    if (!m_singleBytes)
        return std::nullopt;
    return greedyScan(ByteHaystack{haystack, m_lowered}, m_characters.size(), indices);
}

std::optional<std::int64_t> Needle::scanCharacters(std::string_view haystack,
                                                   std::vector<std::int64_t>* indices) {
    Unicode::lowercase(haystack, m_loweredHaystack);
    if (!containsBytesInOrder(m_loweredHaystack, m_characters))
        return std::nullopt;
    m_splitter.split(m_loweredHaystack, m_haystackCharacters);
    return greedyScan(CharacterHaystack{m_haystackCharacters, m_characters}, m_characters.size(),
                      indices);
}

std::optional<Match> match(std::string_view needle, std::string_view haystack) {
    return Needle(needle).match(haystack);
}

} // namespace kelvane::FuzzyMatcher
