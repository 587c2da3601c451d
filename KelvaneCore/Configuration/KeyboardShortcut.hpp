#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

/// A menu key equivalent from the configuration file: one character plus modifier keys.
struct KeyboardShortcut {
    /// A set of modifier keys over a raw bit mask.
    class Modifiers {
    public:
        static const Modifiers command;
        static const Modifiers option;
        static const Modifiers control;
        static const Modifiers shift;

        constexpr Modifiers() = default;
        constexpr explicit Modifiers(int64_t rawValue) : m_rawValue(rawValue) {}
        constexpr Modifiers(std::initializer_list<Modifiers> members) {
            for (Modifiers member : members)
                m_rawValue |= member.m_rawValue;
        }

        constexpr int64_t rawValue() const { return m_rawValue; }
        constexpr bool isEmpty() const { return m_rawValue == 0; }
        constexpr bool contains(Modifiers other) const {
            return (m_rawValue & other.m_rawValue) == other.m_rawValue;
        }
        constexpr void insert(Modifiers other) { m_rawValue |= other.m_rawValue; }
        constexpr void remove(Modifiers other) { m_rawValue &= ~other.m_rawValue; }
        constexpr Modifiers operator|(Modifiers other) const {
            return Modifiers(m_rawValue | other.m_rawValue);
        }
        constexpr Modifiers operator&(Modifiers other) const {
            return Modifiers(m_rawValue & other.m_rawValue);
        }
        constexpr Modifiers operator^(Modifiers other) const {
            return Modifiers(m_rawValue ^ other.m_rawValue);
        }
        constexpr bool operator==(const Modifiers&) const = default;

    private:
        int64_t m_rawValue = 0;
    };

    /// Lower-case, one character, for every parsed shortcut.
    std::string key;
    /// Never empty for a parsed shortcut.
    Modifiers modifiers;

    /// Reads the file's text form: leading symbols (⌘ ⌥ ⌃ ⇧) and/or words joined with "+"
    /// (cmd, opt, alt, ctrl, shift, ...), ending in one key character. None when the text is
    /// not a shortcut with at least one modifier and exactly one key character.
    static std::optional<KeyboardShortcut> parsing(std::string_view raw);

    /// The text written back to a file: the modifier symbols in the order ⌃ ⌥ ⇧ ⌘, then the
    /// key. It parses back to an equal shortcut.
    std::string symbolText() const;

    bool operator==(const KeyboardShortcut&) const = default;
};

inline constexpr KeyboardShortcut::Modifiers KeyboardShortcut::Modifiers::command{1};
inline constexpr KeyboardShortcut::Modifiers KeyboardShortcut::Modifiers::option{2};
inline constexpr KeyboardShortcut::Modifiers KeyboardShortcut::Modifiers::control{4};
inline constexpr KeyboardShortcut::Modifiers KeyboardShortcut::Modifiers::shift{8};

} // namespace kelvane
