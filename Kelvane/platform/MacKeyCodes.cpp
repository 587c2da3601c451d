#include "Kelvane/platform/MacKeyCodes.hpp"

#include <array>
#include <utility>

namespace kelvane::MacKeyCodes {
namespace {

struct Entry {
    uint16_t code;
    Qt::Key key;
    bool keypad = false;
};

constexpr Entry table[]{
    {0, Qt::Key_A},
    {1, Qt::Key_S},
    {2, Qt::Key_D},
    {3, Qt::Key_F},
    {4, Qt::Key_H},
    {5, Qt::Key_G},
    {6, Qt::Key_Z},
    {7, Qt::Key_X},
    {8, Qt::Key_C},
    {9, Qt::Key_V},
    {11, Qt::Key_B},
    {12, Qt::Key_Q},
    {13, Qt::Key_W},
    {14, Qt::Key_E},
    {15, Qt::Key_R},
    {16, Qt::Key_Y},
    {17, Qt::Key_T},
    {18, Qt::Key_1},
    {19, Qt::Key_2},
    {20, Qt::Key_3},
    {21, Qt::Key_4},
    {22, Qt::Key_6},
    {23, Qt::Key_5},
    {24, Qt::Key_Equal},
    {25, Qt::Key_9},
    {26, Qt::Key_7},
    {27, Qt::Key_Minus},
    {28, Qt::Key_8},
    {29, Qt::Key_0},
    {30, Qt::Key_BracketRight},
    {31, Qt::Key_O},
    {32, Qt::Key_U},
    {33, Qt::Key_BracketLeft},
    {34, Qt::Key_I},
    {35, Qt::Key_P},
    {36, Qt::Key_Return},
    {37, Qt::Key_L},
    {38, Qt::Key_J},
    {39, Qt::Key_Apostrophe},
    {40, Qt::Key_K},
    {41, Qt::Key_Semicolon},
    {42, Qt::Key_Backslash},
    {43, Qt::Key_Comma},
    {44, Qt::Key_Slash},
    {45, Qt::Key_N},
    {46, Qt::Key_M},
    {47, Qt::Key_Period},
    {48, Qt::Key_Tab},
    {49, Qt::Key_Space},
    {50, Qt::Key_QuoteLeft},
    {51, Qt::Key_Backspace},
    {53, Qt::Key_Escape},
    {64, Qt::Key_F17},
    {65, Qt::Key_Period, true},
    {67, Qt::Key_Asterisk, true},
    {69, Qt::Key_Plus, true},
    {71, Qt::Key_Clear, true},
    {75, Qt::Key_Slash, true},
    {76, Qt::Key_Enter, true},
    {78, Qt::Key_Minus, true},
    {79, Qt::Key_F18},
    {80, Qt::Key_F19},
    {81, Qt::Key_Equal, true},
    {82, Qt::Key_0, true},
    {83, Qt::Key_1, true},
    {84, Qt::Key_2, true},
    {85, Qt::Key_3, true},
    {86, Qt::Key_4, true},
    {87, Qt::Key_5, true},
    {88, Qt::Key_6, true},
    {89, Qt::Key_7, true},
    {90, Qt::Key_F20},
    {91, Qt::Key_8, true},
    {92, Qt::Key_9, true},
    {96, Qt::Key_F5},
    {97, Qt::Key_F6},
    {98, Qt::Key_F7},
    {99, Qt::Key_F3},
    {100, Qt::Key_F8},
    {101, Qt::Key_F9},
    {103, Qt::Key_F11},
    {105, Qt::Key_F13},
    {106, Qt::Key_F16},
    {107, Qt::Key_F14},
    {109, Qt::Key_F10},
    {111, Qt::Key_F12},
    {113, Qt::Key_F15},
    // The Help key of Apple's extended keyboards sits where PC keyboards have Insert, and macOS
    // reports Insert with this code.
    {114, Qt::Key_Insert},
    {115, Qt::Key_Home},
    {116, Qt::Key_PageUp},
    {117, Qt::Key_Delete},
    {118, Qt::Key_F4},
    {119, Qt::Key_End},
    {120, Qt::Key_F2},
    {121, Qt::Key_PageDown},
    {122, Qt::Key_F1},
    {123, Qt::Key_Left},
    {124, Qt::Key_Right},
    {125, Qt::Key_Down},
    {126, Qt::Key_Up},
};

// Qt reports the shifted character of a key; on the US layout these sit on the keys named.
constexpr std::pair<Qt::Key, Qt::Key> shiftedSymbols[]{
    {Qt::Key_Exclam, Qt::Key_1},
    {Qt::Key_At, Qt::Key_2},
    {Qt::Key_NumberSign, Qt::Key_3},
    {Qt::Key_Dollar, Qt::Key_4},
    {Qt::Key_Percent, Qt::Key_5},
    {Qt::Key_AsciiCircum, Qt::Key_6},
    {Qt::Key_Ampersand, Qt::Key_7},
    {Qt::Key_Asterisk, Qt::Key_8},
    {Qt::Key_ParenLeft, Qt::Key_9},
    {Qt::Key_ParenRight, Qt::Key_0},
    {Qt::Key_Underscore, Qt::Key_Minus},
    {Qt::Key_Plus, Qt::Key_Equal},
    {Qt::Key_BraceLeft, Qt::Key_BracketLeft},
    {Qt::Key_BraceRight, Qt::Key_BracketRight},
    {Qt::Key_Bar, Qt::Key_Backslash},
    {Qt::Key_Colon, Qt::Key_Semicolon},
    {Qt::Key_QuoteDbl, Qt::Key_Apostrophe},
    {Qt::Key_Less, Qt::Key_Comma},
    {Qt::Key_Greater, Qt::Key_Period},
    {Qt::Key_Question, Qt::Key_Slash},
    {Qt::Key_AsciiTilde, Qt::Key_QuoteLeft},
    {Qt::Key_Backtab, Qt::Key_Tab},
};

std::optional<uint16_t> lookUp(int key, bool keypad) {
    for (const Entry& entry : table)
        if (entry.key == key && entry.keypad == keypad)
            return entry.code;
    return std::nullopt;
}

} // namespace

std::optional<uint16_t> fromQtKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (const auto code = lookUp(key, keypad))
        return code;
    if (keypad || !modifiers.testFlag(Qt::ShiftModifier))
        return std::nullopt;
    for (const auto& [symbol, base] : shiftedSymbols)
        if (symbol == key)
            return lookUp(base, false);
    return std::nullopt;
}

std::optional<QtKey> toQtKey(uint32_t keyCode) {
    for (const Entry& entry : table)
        if (entry.code == keyCode)
            return QtKey{entry.key, entry.keypad};
    return std::nullopt;
}

uint64_t appKitModifierFlags(Qt::KeyboardModifiers modifiers) {
    constexpr std::array<std::pair<Qt::KeyboardModifier, uint64_t>, 4> flags{{
        {Qt::ShiftModifier, 0x20000},
        {Qt::MetaModifier, 0x40000},
        {Qt::AltModifier, 0x80000},
        {Qt::ControlModifier, 0x100000},
    }};
    uint64_t result = 0;
    for (const auto& [modifier, flag] : flags)
        if (modifiers.testFlag(modifier))
            result |= flag;
    return result;
}

} // namespace kelvane::MacKeyCodes
