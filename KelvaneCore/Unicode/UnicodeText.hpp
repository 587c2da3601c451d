#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The Unicode services the core relies on, over UTF-8 text. ASCII text takes fast paths;
/// everything else goes through ICU.
namespace kelvane::Unicode {

/// Full Unicode lower-casing, independent of the user's locale.
std::string lowercased(std::string_view text);

/// Writes the lower-cased text into `result`, reusing its storage, for callers that
/// lower-case many texts in a row. Malformed UTF-8 is copied through unchanged.
void lowercase(std::string_view text, std::string& result);

/// Removes blanks, tabs and the other Unicode space separators (not line breaks) from both
/// ends.
std::string_view trimmed(std::string_view text);

/// True for a tab or a character of the Unicode category "space separator".
bool isWhitespace(char32_t codePoint);

/// The text split into user-perceived characters (extended grapheme clusters).
std::vector<std::string_view> characters(std::string_view text);

/// Splits many texts in a row into user-perceived characters, keeping one break iterator
/// (opened at the first non-ASCII text) and the caller's buffer. Not for concurrent use.
class CharacterSplitter {
public:
    CharacterSplitter();
    ~CharacterSplitter();
    CharacterSplitter(const CharacterSplitter&) = delete;
    CharacterSplitter& operator=(const CharacterSplitter&) = delete;

    /// Replaces the contents of `result` with the characters of `text`, as views into it.
    /// Malformed UTF-8 reads as one replacement character per maximal ill-formed sequence.
    void split(std::string_view text, std::vector<std::string_view>& result);

private:
    struct BreakIterator;
    std::unique_ptr<BreakIterator> m_breaks;
};

/// True when the first code point of the text is a letter or a number (general categories
/// L and N); false for an empty text or one that starts with malformed UTF-8.
bool startsWithLetterOrNumber(std::string_view text);

/// True when the text is exactly one user-perceived character.
bool isSingleCharacter(std::string_view text);

/// The byte offset of the first byte that is not part of well-formed UTF-8, if any.
std::optional<std::size_t> firstInvalidUTF8Offset(std::string_view bytes);

/// The text with every ill-formed UTF-8 sequence replaced by U+FFFD.
std::string repairedUTF8(std::string_view bytes);

/// Compares texts the way the user's language orders them, ignoring case (but not accents).
class LocalizedCaseInsensitiveComparator {
public:
    /// Uses the collation of the process's default locale; the POSIX locale gets the
    /// language-neutral order, which still ignores case.
    LocalizedCaseInsensitiveComparator();
    ~LocalizedCaseInsensitiveComparator();
    LocalizedCaseInsensitiveComparator(const LocalizedCaseInsensitiveComparator&) = delete;
    LocalizedCaseInsensitiveComparator&
    operator=(const LocalizedCaseInsensitiveComparator&) = delete;

    /// Negative when a sorts before b, zero when they are equal, positive otherwise.
    int compare(std::string_view a, std::string_view b) const;

    /// Names the order that `compare` follows: the locale and the ICU release it comes from.
    /// Processes whose names are equal order every pair of texts alike.
    static std::string orderName();

private:
    struct Collator;
    std::unique_ptr<Collator> m_collator;
};

} // namespace kelvane::Unicode
