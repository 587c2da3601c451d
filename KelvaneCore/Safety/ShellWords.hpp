#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// Splits a command line into simple commands and their words the way a POSIX shell (bash,
/// zsh, dash) does before it runs them: quotes and backslashes removed, command
/// substitutions, backticks and process substitutions read as commands of their own.
/// Nothing is expanded: a parameter keeps its `$` and a substitution its text. `#` starts no
/// comment, since zsh's interactive default reads it as an ordinary character.
namespace kelvane::ShellWords {

/// One word as the command receives it.
struct Word {
    /// The text with quotes and escapes removed; expansions stay as written.
    std::string value;
    /// Where the word stands in the command text, quotes included.
    std::size_t begin = 0;
    std::size_t end = 0;
    /// False when the word holds an expansion whose value only the running shell knows.
    bool literal = true;
    /// The substitutions (indices into `Parse::substitutions`) that stand in this word.
    std::vector<std::size_t> substitutions;
};

/// A redirection such as `> file` or `2>>log`, without its file-descriptor number.
struct Redirection {
    std::string op;
    Word target;
    /// Where the operator starts in the command text.
    std::size_t begin = 0;
};

/// A command with its words, ended by an operator, a newline or the end of its text.
struct SimpleCommand {
    std::vector<Word> words;
    std::vector<Redirection> redirections;
    std::size_t begin = 0;
    std::size_t end = 0;
    /// Commands joined by `|` or `|&` share this number.
    std::size_t pipeline = 0;
    /// Ended by `&`: runs in the background.
    bool background = false;
    /// `name()` or `function name`: defines a function called `words[0]` or `words[1]`.
    bool definesFunction = false;
    /// How many substitutions this command stands in.
    int depth = 0;
};

/// `$(…)`, backticks, `<(…)` or `>(…)`: commands whose output becomes text or a file name.
struct Substitution {
    /// From the `$`, backtick or `<` to the closing character.
    std::size_t begin = 0;
    std::size_t end = 0;
    /// The commands inside, nested ones included: `Parse::commands[firstCommand, endCommand)`.
    std::size_t firstCommand = 0;
    std::size_t endCommand = 0;
    /// The depth of the commands inside.
    int depth = 0;
};

struct Parse {
    std::vector<SimpleCommand> commands;
    std::vector<Substitution> substitutions;
    /// False when substitutions were nested deeper than allowed or the text held more
    /// commands than allowed; the text after the point where that happened was not read.
    bool complete = true;
};

/// Reads the whole text; never fails. Unclosed quotes and substitutions end at the end of the
/// text, as an interactive shell would keep reading them. Substitutions nested deeper than
/// `maxDepth`, or more than `maxCommands` commands and substitutions, stop the reading.
Parse parse(std::string_view text, int maxDepth, std::size_t maxCommands);

} // namespace kelvane::ShellWords
