#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvane {

/// A modifier key as a Mac keyboard names it; combinations are kept this way on every platform,
/// and where there is no Command key, Ctrl plays its part and Super that of Control.
enum class ModifierKey { control, option, shift, command };

/// The modifier keys held in a combination.
struct ModifierKeys {
    bool control = false;
    bool option = false;
    bool shift = false;
    bool command = false;

    bool holds(ModifierKey key) const;
};

/// The macOS pages that let Kelvane control the terminal, and the button that opens them.
struct PrivacySettings {
    std::string_view buttonTitle;
    std::string_view accessibilityURL;
    std::string_view automationURL;
};

/// Every user-visible text that names a thing of the operating system (its keys, its file
/// manager, its settings, its terminal), one set per platform, so that no other file has to know
/// which platform it runs on.
struct PlatformWords {
    /// The modifiers in the order a combination names them, with their names.
    std::array<std::pair<ModifierKey, std::string_view>, 4> modifierNames;
    /// What follows each modifier's name in a combination.
    std::string_view modifierSeparator;
    /// Keys whose name is a glyph on one platform and a word on another, by macOS virtual key
    /// code.
    std::array<std::pair<std::uint32_t, std::string_view>, 4> specialKeyNames;
    /// The button that shows the configuration file in the file manager.
    std::string_view revealInFileManager;
    /// Beside "Bei der Anmeldung starten" when the system keeps Kelvane from starting at login.
    std::string_view loginItemDisabledNote;
    /// The terminal program that could not be started, as the start of a sentence.
    std::string_view terminalThatDidNotStart;
    /// Under the terminal program's name in the settings.
    std::string_view terminalProgramNote;
    /// Under the target when "Neuer Tab" is chosen; none where tabs need no permission.
    std::optional<std::string_view> tabNote;
    /// None where the system has no such pages.
    std::optional<PrivacySettings> privacySettings;
};

/// The words of the platform Kelvane was built for.
const PlatformWords& platformWords();

/// A key combination in the platform's words: "⌥⌘K" on macOS, "Strg+Alt+K" on Linux.
std::string keyCombinationText(ModifierKeys modifiers, std::string_view keyName);

} // namespace kelvane
