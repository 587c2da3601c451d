#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

/// Regular-expression search in ICU syntax over UTF-8 text, with bounded effort so that
/// hostile text cannot stall the caller.
namespace kelvane::Unicode {

/// UTF-8 text converted once for any number of searches. Ill-formed byte sequences are
/// searched as U+FFFD (one per maximal ill-formed part), NUL as an ordinary character.
/// Keeps a view of the given bytes, which must outlive it.
class SearchText {
public:
    explicit SearchText(std::string_view utf8);

    std::string_view utf8() const { return m_utf8; }
    const std::u16string& utf16() const { return m_utf16; }
    /// The byte offset in `utf8()` where the given UTF-16 offset lies.
    std::size_t utf8Offset(std::size_t utf16Offset) const;

private:
    std::string_view m_utf8;
    std::u16string m_utf16;
    bool m_isASCII = true;
};

/// The work a series of searches may do together, in ICU's time units of about ten thousand
/// backtracking steps each. Every search spends from it; a search that runs out stops.
struct SearchBudget {
    std::int32_t unitsLeft = 0;
};

/// The outcome of one search.
struct SearchResult {
    enum class Status {
        found,
        notFound,
        /// The search ran out of budget or backtracking memory, or ICU failed: the text may or
        /// may not match.
        incomplete,
    };
    Status status = Status::notFound;
    /// The bytes of the leftmost match; empty unless found.
    std::string_view matched;
};

enum class CaseSensitivity { sensitive, insensitive };

/// A compiled regular expression in ICU syntax. Immutable and safe to share between threads:
/// every search works on its own matcher.
class RegexPattern {
public:
    /// Throws std::invalid_argument when the pattern does not compile.
    RegexPattern(std::string_view pattern, CaseSensitivity caseSensitivity);
    ~RegexPattern();
    RegexPattern(RegexPattern&&) noexcept;
    RegexPattern& operator=(RegexPattern&&) noexcept;

    /// Finds the leftmost match in the whole text, unanchored. Backtracking memory is limited
    /// to 1 MiB per search.
    SearchResult firstMatch(const SearchText& text, SearchBudget& budget) const;

private:
    struct Compiled;
    std::unique_ptr<Compiled> m_compiled;
};

} // namespace kelvane::Unicode
