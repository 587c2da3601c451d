#pragma once

#include "KelvaneCore/Safety/ShellWords.hpp"

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

/// Reads the options of one command from its words the way getopt and its long form do:
/// combined short options (`-rf`), values attached or in the next word (`-s0`, `-s 0`,
/// `--size=0`), unique abbreviations of long names, and `--` ending the options.
namespace kelvane::ShellOptions {

/// Which options of a command take a value, and where its options may stand.
struct Grammar {
    std::string_view shortWithValue;
    std::initializer_list<std::string_view> longWithValue;
    /// GNU's rule: options may follow operands. Otherwise the first operand ends them, as it
    /// does for every command that runs another command.
    bool optionsAfterOperands = true;
};

struct Option {
    /// The long name as written, or the one letter of a short option.
    std::string_view name;
    bool isLong = false;
    std::string_view value;
    /// The word that holds the option or, when it is in a word of its own, its value.
    std::size_t word = 0;
};

struct Options {
    std::vector<Option> options;
    /// Indices of the words that are operands.
    std::vector<std::size_t> operands;

    /// The word of the last option among these letters and long names, if any.
    std::optional<std::size_t> find(std::string_view letters,
                                    std::initializer_list<std::string_view> longNames) const;
    /// The value of the last of these options, if given.
    std::optional<std::string_view> value(char letter, std::string_view longName) const;
};

/// True when `written` names the long option `name` or abbreviates it to three letters or more.
bool abbreviates(std::string_view written, std::string_view name);

Options read(std::span<const ShellWords::Word> words, const Grammar& grammar);

/// The index of the first operand, reading no further than that: where a wrapper's command
/// starts.
std::optional<std::size_t> firstOperand(std::span<const ShellWords::Word> words,
                                        const Grammar& grammar);

} // namespace kelvane::ShellOptions
