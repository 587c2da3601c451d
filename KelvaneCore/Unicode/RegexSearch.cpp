#include "KelvaneCore/Unicode/RegexSearch.hpp"

#include <unicode/uregex.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <limits>
#include <stdexcept>

namespace kelvane::Unicode {
namespace {

// ICU takes text lengths as 32-bit numbers; every UTF-8 byte yields at most one UTF-16 unit.
constexpr std::size_t maxSearchableLength = std::numeric_limits<int32_t>::max();

// Enough for thousands of nested repetitions; the 8 MiB that ICU allows by default would let
// one hostile text hold and copy that much memory per pattern.
constexpr int32_t backtrackingMemoryLimit = 1 << 20;

using Matcher = std::unique_ptr<URegularExpression, void (*)(URegularExpression*)>;

UBool U_CALLCONV spendBudget(const void* context, int32_t) {
    // ICU hands back the context it was given, which is the caller's mutable budget.
    auto* budget = static_cast<SearchBudget*>(const_cast<void*>(context));
    return --budget->unitsLeft >= 0;
}

SearchResult incomplete() {
    return {SearchResult::Status::incomplete, {}};
}

} // namespace

SearchText::SearchText(std::string_view utf8) : m_utf8(utf8) {
    if (utf8.size() > maxSearchableLength)
        return;
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    m_utf16.reserve(utf8.size());
    for (int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            m_utf16.push_back(static_cast<char16_t>(bytes[i++]));
            continue;
        }
        m_isASCII = false;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            c = 0xFFFD;
        if (U16_LENGTH(c) == 2) {
            m_utf16.push_back(static_cast<char16_t>(U16_LEAD(c)));
            m_utf16.push_back(static_cast<char16_t>(U16_TRAIL(c)));
        } else {
            m_utf16.push_back(static_cast<char16_t>(c));
        }
    }
}

std::size_t SearchText::utf8Offset(std::size_t utf16Offset) const {
    if (m_isASCII)
        return utf16Offset;
    // Walks the bytes exactly as the constructor converted them.
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_utf8.data());
    const auto length = static_cast<int32_t>(m_utf8.size());
    int32_t i = 0;
    for (std::size_t units = 0; units < utf16Offset && i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        units += c < 0 ? 1 : static_cast<std::size_t>(U16_LENGTH(c));
    }
    return static_cast<std::size_t>(i);
}

struct RegexPattern::Compiled {
    Matcher prototype{nullptr, uregex_close};
};

RegexPattern::RegexPattern(std::string_view pattern, CaseSensitivity caseSensitivity)
    : m_compiled(std::make_unique<Compiled>()) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    const uint32_t flags =
        caseSensitivity == CaseSensitivity::insensitive ? UREGEX_CASE_INSENSITIVE : 0;
    const std::u16string utf16 = SearchText(pattern).utf16();
    m_compiled->prototype.reset(
        uregex_open(utf16.data(), static_cast<int32_t>(utf16.size()), flags, &parseError, &status));
    if (U_FAILURE(status))
        throw std::invalid_argument("regular expression \"" + std::string(pattern) +
                                    "\": " + u_errorName(status));
}

RegexPattern::~RegexPattern() = default;
RegexPattern::RegexPattern(RegexPattern&&) noexcept = default;
RegexPattern& RegexPattern::operator=(RegexPattern&&) noexcept = default;

SearchResult RegexPattern::firstMatch(const SearchText& text, SearchBudget& budget) const {
    if (text.utf8().size() > maxSearchableLength)
        return incomplete();
    UErrorCode status = U_ZERO_ERROR;
    // A matcher holds the state of one search, so each search gets its own clone; the clone
    // shares the compiled pattern.
    const Matcher matcher(uregex_clone(m_compiled->prototype.get(), &status), uregex_close);
    uregex_setStackLimit(matcher.get(), backtrackingMemoryLimit, &status);
    uregex_setMatchCallback(matcher.get(), spendBudget, &budget, &status);
    const std::u16string& utf16 = text.utf16();
    uregex_setText(matcher.get(), utf16.data(), static_cast<int32_t>(utf16.size()), &status);
    const bool found = uregex_findNext(matcher.get(), &status);
    const int32_t start = found ? uregex_start(matcher.get(), 0, &status) : 0;
    const int32_t end = found ? uregex_end(matcher.get(), 0, &status) : 0;
    if (U_FAILURE(status))
        return incomplete();
    if (!found)
        return {SearchResult::Status::notFound, {}};
    const std::size_t begin = text.utf8Offset(static_cast<std::size_t>(start));
    return {SearchResult::Status::found,
            text.utf8().substr(begin, text.utf8Offset(static_cast<std::size_t>(end)) - begin)};
}

} // namespace kelvane::Unicode
