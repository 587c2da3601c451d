#include "Kelvane/platform/PlatformWords.hpp"

namespace kelvane {

bool ModifierKeys::holds(ModifierKey key) const {
    switch (key) {
    case ModifierKey::control:
        return control;
    case ModifierKey::option:
        return option;
    case ModifierKey::shift:
        return shift;
    case ModifierKey::command:
        break;
    }
    return command;
}

std::string keyCombinationText(ModifierKeys modifiers, std::string_view keyName) {
    const PlatformWords& words = platformWords();
    std::string text;
    for (const auto& [key, name] : words.modifierNames)
        if (modifiers.holds(key))
            text.append(name).append(words.modifierSeparator);
    return text.append(keyName);
}

} // namespace kelvane
