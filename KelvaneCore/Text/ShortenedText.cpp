#include "KelvaneCore/Text/ShortenedText.hpp"

#include <algorithm>

namespace kelvane {
namespace {

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::size_t sequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
}

// The last `count` bytes of `text`, or all of it.
std::string_view lastBytes(std::string_view text, std::size_t count) {
    return text.substr(text.size() - std::min(count, text.size()));
}

} // namespace

ShortenedText::ShortenedText(std::string_view text)
    : ShortenedText(ShortenedText().appended(text)) {}

ShortenedText ShortenedText::appended(std::string_view text) const {
    ShortenedText result;
    result.m_length = m_length + text.size();
    result.m_head = m_head;
    result.m_head.append(text.substr(0, keptBytes - m_head.size()));
    const std::string_view end = lastBytes(text, keptBytes);
    result.m_tail.assign(lastBytes(m_tail, keptBytes - end.size())).append(end);
    return result;
}

std::string ShortenedText::shown() const {
    if (m_length <= 2 * keptBytes)
        return m_head + std::string(lastBytes(m_tail, m_length - m_head.size()));
    const std::string_view head = wholeCharactersPrefix(m_head, m_head.size());
    std::string_view tail = m_tail;
    while (!tail.empty() && isContinuationByte(tail.front()))
        tail.remove_prefix(1);
    return std::string(head).append("\u2026").append(tail);
}

std::string_view wholeCharactersPrefix(std::string_view text, std::size_t maxBytes) {
    std::string_view head = text.substr(0, maxBytes);
    std::size_t start = head.size();
    while (start > 0 && isContinuationByte(head[start - 1]))
        --start;
    // The head ends before a character that it holds only in part.
    if (start > 0 && start - 1 + sequenceLength(head[start - 1]) > head.size())
        head = head.substr(0, start - 1);
    return head;
}

std::string shortened(std::string_view text) {
    return ShortenedText(text).shown();
}

} // namespace kelvane
