#include "KelvaneCore/Safety/ShellOptions.hpp"

#include <algorithm>
#include <bitset>

namespace kelvane::ShellOptions {

bool abbreviates(std::string_view written, std::string_view name) {
    return written == name || (written.size() >= 3 && name.starts_with(written));
}

namespace {

bool matchesAny(std::string_view written, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view name) { return abbreviates(written, name); });
}

Options read(std::span<const ShellWords::Word> words, const Grammar& grammar,
             bool untilFirstOperand) {
    Options out;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i].value;
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            out.operands.push_back(i);
            if (untilFirstOperand)
                break;
            optionsEnded = optionsEnded || !grammar.optionsAfterOperands;
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word[1] == '-') {
            std::string_view name = word.substr(2);
            std::string_view value;
            if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
                value = name.substr(equals + 1);
                name = name.substr(0, equals);
            } else if (matchesAny(name, grammar.longWithValue) && i + 1 < words.size()) {
                value = words[++i].value;
            }
            out.options.push_back({name, true, value, i});
            continue;
        }
        const std::size_t wordIndex = i;
        // A letter repeated within one word counts once: `-rrrr…` is `-r`.
        std::bitset<256> seen;
        for (std::size_t j = 1; j < word.size(); ++j) {
            const std::string_view letter = word.substr(j, 1);
            if (grammar.shortWithValue.find(letter.front()) == std::string_view::npos) {
                const auto byte = static_cast<unsigned char>(letter.front());
                if (!seen.test(byte))
                    out.options.push_back({letter, false, {}, wordIndex});
                seen.set(byte);
                continue;
            }
            std::string_view value = word.substr(j + 1);
            if (value.empty() && i + 1 < words.size())
                value = words[++i].value;
            out.options.push_back({letter, false, value, i});
            break;
        }
    }
    return out;
}

} // namespace

std::optional<std::size_t> Options::find(std::string_view letters,
                                         std::initializer_list<std::string_view> longNames) const {
    std::optional<std::size_t> word;
    for (const Option& option : options)
        if (option.isLong ? matchesAny(option.name, longNames)
                          : letters.find(option.name.front()) != std::string_view::npos)
            word = option.word;
    return word;
}

std::optional<std::string_view> Options::value(char letter, std::string_view longName) const {
    std::optional<std::string_view> found;
    for (const Option& option : options)
        if (option.isLong ? abbreviates(option.name, longName) : option.name.front() == letter)
            found = option.value;
    return found;
}

Options read(std::span<const ShellWords::Word> words, const Grammar& grammar) {
    return read(words, grammar, false);
}

std::optional<std::size_t> firstOperand(std::span<const ShellWords::Word> words,
                                        const Grammar& grammar) {
    const Options options = read(words, grammar, true);
    if (options.operands.empty())
        return std::nullopt;
    return options.operands.front();
}

} // namespace kelvane::ShellOptions
