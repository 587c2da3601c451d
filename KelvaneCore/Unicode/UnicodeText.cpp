#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>
#include <unicode/uversion.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace kelvane::Unicode {
namespace {

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isASCIIWhitespace(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string lowercased(std::string_view text) {
    std::string result;
    lowercase(text, result);
    return result;
}

void lowercase(std::string_view text, std::string& result) {
    if (isASCII(text)) {
        result.assign(text);
        for (char& c : result)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return;
    }
    result.clear();
    icu::StringByteSink<std::string> sink(&result, static_cast<int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8ToLower("", 0,
                              icu::StringPiece(text.data(), static_cast<int32_t>(text.size())),
                              sink, nullptr, status);
    if (U_FAILURE(status))
        result.assign(text);
}

bool isWhitespace(char32_t codePoint) {
    return codePoint == U'\t' || u_charType(static_cast<UChar32>(codePoint)) == U_SPACE_SEPARATOR;
}

std::string_view trimmed(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        if (bytes[start] < 0x80) {
            if (!isASCIIWhitespace(static_cast<char>(bytes[start])))
                break;
            ++start;
            continue;
        }
        int32_t next = start;
        UChar32 c = 0;
        U8_NEXT(bytes, next, length, c);
        if (c < 0 || !isWhitespace(static_cast<char32_t>(c)))
            break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        if (bytes[end - 1] < 0x80) {
            if (!isASCIIWhitespace(static_cast<char>(bytes[end - 1])))
                break;
            --end;
            continue;
        }
        int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(bytes, start, previous, c);
        if (c < 0 || !isWhitespace(static_cast<char32_t>(c)))
            break;
        end = previous;
    }
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> result;
    CharacterSplitter().split(text, result);
    return result;
}

struct CharacterSplitter::BreakIterator {
    BreakIterator() {
        UErrorCode status = U_ZERO_ERROR;
        handle.reset(ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status));
        if (U_FAILURE(status))
            throw std::runtime_error(u_errorName(status));
    }
    ~BreakIterator() { utext_close(&text); }
    BreakIterator(const BreakIterator&) = delete;
    BreakIterator& operator=(const BreakIterator&) = delete;

    std::unique_ptr<UBreakIterator, void (*)(UBreakIterator*)> handle{nullptr, ubrk_close};
    UText text = UTEXT_INITIALIZER;
};

CharacterSplitter::CharacterSplitter() = default;
CharacterSplitter::~CharacterSplitter() = default;

void CharacterSplitter::split(std::string_view text, std::vector<std::string_view>& result) {
    result.clear();
    if (isASCII(text)) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            result.push_back(text.substr(i, crlf ? 2 : 1));
            if (crlf)
                ++i;
        }
        return;
    }
    if (!m_breaks)
        m_breaks = std::make_unique<BreakIterator>();
    UErrorCode status = U_ZERO_ERROR;
    utext_openUTF8(&m_breaks->text, text.data(), static_cast<int64_t>(text.size()), &status);
    ubrk_setUText(m_breaks->handle.get(), &m_breaks->text, &status);
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    UBreakIterator* breaks = m_breaks->handle.get();
    int32_t start = ubrk_first(breaks);
    for (int32_t end = ubrk_next(breaks); end != UBRK_DONE; start = end, end = ubrk_next(breaks))
        result.push_back(
            text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

bool startsWithLetterOrNumber(std::string_view text) {
    if (text.empty())
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (bytes[0] < 0x80) {
        const char c = static_cast<char>(bytes[0] | 0x20);
        return (c >= 'a' && c <= 'z') || (bytes[0] >= '0' && bytes[0] <= '9');
    }
    const int32_t window = static_cast<int32_t>(std::min<std::size_t>(text.size(), 4));
    int32_t offset = 0;
    UChar32 c = 0;
    U8_NEXT(bytes, offset, window, c);
    return c >= 0 && (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_N_MASK)) != 0;
}

bool isSingleCharacter(std::string_view text) {
    if (text.size() == 1)
        return true;
    return !text.empty() && characters(text).size() == 1;
}

std::optional<std::size_t> firstInvalidUTF8Offset(std::string_view bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int64_t>(bytes.size());
    int64_t i = 0;
    while (i < length) {
        // Runs of ASCII are checked eight bytes at a time.
        if (i + 8 <= length) {
            uint64_t word = 0;
            std::memcpy(&word, data + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const int64_t start = i;
        // U8_NEXT works on 32-bit offsets; a window is enough for one sequence.
        const int32_t window = static_cast<int32_t>(std::min<int64_t>(length - i, 4));
        int32_t offset = 0;
        UChar32 c = 0;
        U8_NEXT(data + i, offset, window, c);
        if (c < 0)
            return static_cast<std::size_t>(start);
        i += offset;
    }
    return std::nullopt;
}

std::string repairedUTF8(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t bad = firstInvalidUTF8Offset(bytes).value_or(bytes.size());
        result.append(bytes.substr(0, bad));
        if (bad == bytes.size())
            break;
        result.append("\uFFFD");
        // Skip the one ill-formed sequence: its lead byte and any continuation bytes after it.
        std::size_t next = bad + 1;
        while (next < bytes.size() && next < bad + 4 &&
               (static_cast<unsigned char>(bytes[next]) & 0xC0) == 0x80)
            ++next;
        bytes.remove_prefix(next);
    }
    return result;
}

struct LocalizedCaseInsensitiveComparator::Collator {
    std::unique_ptr<UCollator, void (*)(UCollator*)> handle{nullptr, ucol_close};
};

LocalizedCaseInsensitiveComparator::LocalizedCaseInsensitiveComparator()
    : m_collator(std::make_unique<Collator>()) {
    std::string locale = uloc_getDefault();
    // ICU maps the C locale to en_US_POSIX, whose order separates upper from lower case.
    if (locale.rfind("en_US_POSIX", 0) == 0 || locale == "c")
        locale.clear();
    UErrorCode status = U_ZERO_ERROR;
    m_collator->handle.reset(ucol_open(locale.c_str(), &status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_collator->handle.reset(ucol_open("", &status));
    }
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    ucol_setStrength(m_collator->handle.get(), UCOL_SECONDARY);
}

LocalizedCaseInsensitiveComparator::~LocalizedCaseInsensitiveComparator() = default;

std::string LocalizedCaseInsensitiveComparator::orderName() {
    UVersionInfo version;
    u_getVersion(version);
    char versionText[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, versionText);
    return std::string(uloc_getDefault()) + " ICU " + versionText;
}

int LocalizedCaseInsensitiveComparator::compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(m_collator->handle.get(), a.data(), static_cast<int32_t>(a.size()),
                         b.data(), static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status))
        return a.compare(b);
    return static_cast<int>(result);
}

} // namespace kelvane::Unicode
