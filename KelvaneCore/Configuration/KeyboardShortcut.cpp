#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"

#include "KelvaneCore/Text/Splitting.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <array>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

using Modifiers = KeyboardShortcut::Modifiers;

// In the order in which a shortcut is written back.
constexpr std::array<std::pair<std::string_view, Modifiers>, 4> symbols{{
    {"\u2303", Modifiers::control},
    {"\u2325", Modifiers::option},
    {"\u21E7", Modifiers::shift},
    {"\u2318", Modifiers::command},
}};

constexpr std::array<std::pair<std::string_view, Modifiers>, 8> words{{
    {"cmd", Modifiers::command},
    {"command", Modifiers::command},
    {"opt", Modifiers::option},
    {"option", Modifiers::option},
    {"alt", Modifiers::option},
    {"ctrl", Modifiers::control},
    {"control", Modifiers::control},
    {"shift", Modifiers::shift},
}};

const std::pair<std::string_view, Modifiers>* symbolAtStart(std::string_view text) {
    for (const auto& entry : symbols)
        if (text.starts_with(entry.first))
            return &entry;
    return nullptr;
}

std::optional<Modifiers> modifierForWord(std::string_view word) {
    for (const auto& [name, modifier] : words)
        if (word == name)
            return modifier;
    return std::nullopt;
}

} // namespace

std::optional<KeyboardShortcut> KeyboardShortcut::parsing(std::string_view raw) {
    std::string_view rest = Unicode::trimmed(raw);
    if (rest.empty())
        return std::nullopt;

    Modifiers modifiers;
    while (const auto* symbol = symbolAtStart(rest)) {
        modifiers.insert(symbol->second);
        rest.remove_prefix(symbol->first.size());
    }

    std::string key(rest);
    if (rest.find('+') != std::string_view::npos) {
        std::vector<std::string> pieces;
        for (std::string_view piece : nonEmptyPieces(rest, '+'))
            pieces.push_back(Unicode::lowercased(Unicode::trimmed(piece)));
        if (pieces.empty())
            return std::nullopt;
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
            const auto modifier = modifierForWord(pieces[i]);
            if (!modifier)
                return std::nullopt;
            modifiers.insert(*modifier);
        }
        key = pieces.back();
    }

    if (modifiers.isEmpty() || !Unicode::isSingleCharacter(key))
        return std::nullopt;
    return KeyboardShortcut{Unicode::lowercased(key), modifiers};
}

std::string KeyboardShortcut::symbolText() const {
    std::string text;
    for (const auto& [symbol, modifier] : symbols)
        if (modifiers.contains(modifier))
            text += symbol;
    return text + key;
}

} // namespace kelvane
