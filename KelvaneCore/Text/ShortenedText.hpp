#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

/// A text that can grow without bound, kept only as its beginning, its end and its length, so
/// that showing it costs the same however long it is. Appending costs at most the kept length.
class ShortenedText {
public:
    /// Bytes kept of each end; a text of up to twice this length is shown whole.
    static constexpr std::size_t keptBytes = 120;

    ShortenedText() = default;
    explicit ShortenedText(std::string_view text);

    /// This text followed by `text`.
    ShortenedText appended(std::string_view text) const;

    /// The whole text when it is at most twice `keptBytes` long; otherwise its beginning, "…"
    /// and its end, each cut at a character boundary.
    std::string shown() const;

    std::size_t length() const { return m_length; }

private:
    std::string m_head;
    std::string m_tail;
    std::size_t m_length = 0;
};

/// The longest beginning of `text` of at most `maxBytes` bytes that ends between two UTF-8
/// characters.
std::string_view wholeCharactersPrefix(std::string_view text, std::size_t maxBytes);

/// `ShortenedText(text).shown()`: the form in which a long name or path appears in a message.
std::string shortened(std::string_view text);

} // namespace kelvane
