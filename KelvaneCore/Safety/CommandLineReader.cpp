#include "KelvaneCore/Safety/CommandLineReader.hpp"

#include "KelvaneCore/Safety/CommandDangers.hpp"
#include "KelvaneCore/Safety/RunningCommand.hpp"
#include "KelvaneCore/Safety/ShellOptions.hpp"
#include "KelvaneCore/Safety/ShellWords.hpp"
#include "KelvaneCore/Text/OneOf.hpp"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <vector>

namespace kelvane::CommandLineReader {
namespace {

using ShellWords::SimpleCommand;
using ShellWords::Word;
using Words = std::span<const Word>;
using RunningCommand::resolve;
using RunningCommand::Resolved;
using RunningCommand::Role;
using RunningCommand::roleOf;

// Substitutions, texts handed to a shell and find's -exec together; deeper nesting is not
// read and the scan says so.
constexpr int maxDepth = 16;
// The bytes of all texts read again together: far beyond any real command, and it keeps a
// hostile text's `eval eval eval …` linear.
constexpr std::size_t rereadBudget = 1 << 20;
// What each text read again costs besides its bytes, so that a flood of tiny ones ends too.
constexpr std::size_t rereadOverhead = 64;
// The simple commands of all texts together. Scripts of thousands of lines stay far below
// it; a hostile text of hundreds of thousands of `a|a|…` is read no further, in a few
// milliseconds, and the scan says so.
constexpr std::size_t commandBudget = 20000;
constexpr char dataByte = '\x1F';

bool isDownload(std::string_view name) {
    return isOneOf(name, {"curl", "wget", "fetch"});
}

// How a shell was asked to run: a command string, a script, or what comes on its input.
struct ShellArguments {
    std::optional<std::size_t> commandString;
    std::optional<std::size_t> script;
};

ShellArguments shellArguments(Words arguments) {
    bool commandMode = false;
    bool readsInput = false;
    std::size_t i = 0;
    for (; i < arguments.size(); ++i) {
        const std::string_view word = arguments[i].value;
        if (word == "--" || word == "-") {
            ++i;
            break;
        }
        if (word.size() < 2 || (word[0] != '-' && word[0] != '+'))
            break;
        if (word.starts_with("--")) {
            i += isOneOf(word, {"--rcfile", "--init-file"}) ? 1 : 0;
            continue;
        }
        commandMode = commandMode || word.find('c') != std::string_view::npos;
        readsInput = readsInput || word.find('s') != std::string_view::npos;
        i += word.find_first_of("oO") != std::string_view::npos ? 1 : 0;
    }
    ShellArguments result;
    if (i < arguments.size()) {
        if (commandMode)
            result.commandString = i;
        else if (!readsInput)
            result.script = i;
    }
    return result;
}

bool decodes(std::string_view name, Words arguments) {
    const ShellOptions::Options options = ShellOptions::read(arguments, {});
    if (name == "base64")
        return options.find("dD", {"decode"}).has_value();
    if (name == "xxd")
        return options.find("r", {"revert"}).has_value();
    if (name == "openssl")
        return options.find("d", {}).has_value();
    return false;
}

std::string joined(Words words) {
    std::string text;
    for (const Word& word : words) {
        if (!text.empty())
            text += ' ';
        text += word.value;
    }
    return text;
}

struct DataWord {
    std::size_t begin;
    std::size_t end;
    int depth;
};

class Reader {
public:
    explicit Reader(Reading& out) : m_out(out) {}

    void readCommandText(std::string_view text) {
        const ShellWords::Parse parse = ShellWords::parse(text, maxDepth, m_commandsLeft);
        spendCommands(parse);
        readParse({text, parse, 0, true});
        m_out.searchable = withDataHidden(text, parse);
    }

private:
    struct Context {
        std::string_view text;
        const ShellWords::Parse& parse;
        int depth;
        // The command text itself, not a text handed on: its data words are hidden.
        bool isCommandText;
        std::vector<std::size_t> pipelineSizes = {};
    };

    void spendCommands(const ShellWords::Parse& parse) {
        m_commandsLeft -=
            std::min(m_commandsLeft, parse.commands.size() + parse.substitutions.size());
    }

    void report(Risk risk, const Context& context, std::size_t begin, std::size_t end) {
        std::optional<std::string>& matched = m_out.matched[static_cast<std::size_t>(risk)];
        if (!matched)
            matched = std::string(context.text.substr(begin, end - begin));
    }

    void reread(std::string text, int depth) {
        const std::size_t cost = text.size() + rereadOverhead;
        if (depth + 1 > maxDepth || cost > m_rereadLeft) {
            m_out.complete = false;
            return;
        }
        m_rereadLeft -= cost;
        const ShellWords::Parse parse =
            ShellWords::parse(text, maxDepth - depth - 1, m_commandsLeft);
        spendCommands(parse);
        readParse({text, parse, depth + 1, false});
    }

    void readParse(Context context) {
        const ShellWords::Parse& parse = context.parse;
        m_out.complete = m_out.complete && parse.complete;
        // Commands of one pipeline, in their order; a pipeline's commands are not adjacent
        // when one of them holds a substitution.
        std::vector<std::size_t>& sizes = context.pipelineSizes;
        if (parse.commands.size() == 1) {
            sizes.assign(parse.commands[0].pipeline + 1, 1);
            readPipeline(context, std::span<const std::size_t>(&zero, 1));
            return findForkBombs(context);
        }
        for (const SimpleCommand& command : parse.commands) {
            if (command.pipeline >= sizes.size())
                sizes.resize(command.pipeline + 1, 0);
            ++sizes[command.pipeline];
        }
        std::vector<std::size_t> starts(sizes.size() + 1, 0);
        for (std::size_t i = 0; i < sizes.size(); ++i)
            starts[i + 1] = starts[i] + sizes[i];
        std::vector<std::size_t> order(parse.commands.size());
        std::vector<std::size_t> filled(sizes.size(), 0);
        for (std::size_t i = 0; i < parse.commands.size(); ++i) {
            const std::size_t pipeline = parse.commands[i].pipeline;
            order[starts[pipeline] + filled[pipeline]++] = i;
        }
        for (std::size_t pipeline = 0; pipeline < sizes.size(); ++pipeline)
            if (sizes[pipeline] > 0)
                readPipeline(context, std::span(order).subspan(starts[pipeline], sizes[pipeline]));
        findForkBombs(context);
    }

    void readPipeline(const Context& context, std::span<const std::size_t> members) {
        const auto& commands = context.parse.commands;
        if (members.size() == 1) {
            const SimpleCommand& command = commands[members[0]];
            readCommand(context, command, resolve(command.words), false);
            return;
        }
        std::vector<std::optional<Resolved>> resolved;
        resolved.reserve(members.size());
        std::size_t shell = members.size();
        for (std::size_t k = 0; k < members.size(); ++k) {
            resolved.push_back(resolve(commands[members[k]].words));
            if (k > 0 && shell == members.size() &&
                readsCodeFromInput(commands[members[k]].words, resolved[k]))
                shell = k;
        }
        for (std::size_t k = 0; k < members.size(); ++k) {
            const SimpleCommand& command = commands[members[k]];
            const bool feedsShell = shell < members.size() && k < shell;
            readCommand(context, command, resolved[k], feedsShell);
            if (feedsShell && resolved[k])
                feedShell(context, command, *resolved[k], commands[members[shell]].end,
                          roleOf(resolved[shell]->name) == Role::shell);
        }
    }

    static bool readsCodeFromInput(Words words, const std::optional<Resolved>& resolved) {
        if (!resolved || resolved->looksUp)
            return false;
        const Words arguments = words.subspan(resolved->command + 1);
        const Role role = roleOf(resolved->name);
        if (role == Role::shell) {
            const ShellArguments shell = shellArguments(arguments);
            return !shell.commandString && !shell.script;
        }
        if (role == Role::interpreter) {
            const ShellOptions::Options options = ShellOptions::read(arguments, {});
            return !options.find("cem", {}) &&
                   (options.operands.empty() || arguments[options.operands.front()].value == "-");
        }
        return false;
    }

    // What a command prints into a pipe that ends in a shell runs there.
    void feedShell(const Context& context, const SimpleCommand& source, const Resolved& resolved,
                   std::size_t shellEnd, bool intoShell) {
        const Words arguments = Words(source.words).subspan(resolved.command + 1);
        const std::size_t begin = source.words[resolved.command].begin;
        if (isDownload(resolved.name))
            report(Risk::runsDownload, context, begin, shellEnd);
        else if (decodes(resolved.name, arguments))
            report(Risk::runsObfuscatedCode, context, begin, shellEnd);
        else if (intoShell && isOneOf(resolved.name, {"echo", "printf"}))
            reread(joined(arguments), context.depth);
    }

    void readCommand(const Context& context, const SimpleCommand& command,
                     const std::optional<Resolved>& resolved, bool feedsShell) {
        for (const ShellWords::Redirection& redirection : command.redirections) {
            const bool writes = redirection.op.find('>') != std::string::npos;
            if (writes && CommandDangers::isDrive(redirection.target.value))
                report(Risk::writesDrive, context, redirection.begin, redirection.target.end);
        }
        readWords(context, command, command.words, resolved, feedsShell, false, context.depth);
    }

    void readWords(const Context& context, const SimpleCommand& command, Words words,
                   const std::optional<Resolved>& resolved, bool feedsShell, bool moreOperands,
                   int depth) {
        if (!resolved)
            return;
        for (std::size_t word : resolved->elevatingWords)
            report(Risk::runsAsAdministrator, context, words[word].begin, words[word].end);
        const Word& commandWord = words[resolved->command];
        const Words arguments = words.subspan(resolved->command + 1);
        const std::string& name = resolved->name;
        if (resolved->looksUp || name.empty()) {
            if (resolved->looksUp)
                hideData(context, command, arguments, feedsShell);
            return;
        }
        for (const CommandDangers::Danger& danger :
             CommandDangers::of(name, arguments, moreOperands || resolved->moreOperands)) {
            const std::size_t end =
                danger.lastArgument ? arguments[*danger.lastArgument].end : commandWord.end;
            report(danger.risk, context, commandWord.begin, end);
        }
        const Role role = roleOf(name);
        if (role == Role::shell || role == Role::interpreter || role == Role::evaluates ||
            role == Role::sources)
            for (const Word& argument : arguments)
                readCodeFrom(context, argument, commandWord.begin);
        if (role == Role::shell)
            readShell(context, command, arguments);
        else if (role == Role::evaluates)
            reread(joined(arguments), context.depth);
        else if (role == Role::watches)
            reread(joined(operandsOfWatch(arguments)), context.depth);
        else if (role == Role::remoteShell)
            readRemoteCommand(context, arguments);
        else if (role == Role::switchesUser)
            readSwitchUser(context, commandWord, arguments);
        else if (role == Role::finds)
            readFindActions(context, command, arguments, feedsShell, depth);
        if (RunningCommand::runsNoArgument(role, arguments))
            hideData(context, command, arguments, feedsShell);
    }

    // A download or a decoder whose output the command runs as code.
    void readCodeFrom(const Context& context, const Word& word, std::size_t begin) {
        const auto& parse = context.parse;
        for (std::size_t index : word.substitutions) {
            const ShellWords::Substitution& substitution = parse.substitutions[index];
            for (std::size_t c = substitution.firstCommand; c < substitution.endCommand; ++c) {
                const Words words = parse.commands[c].words;
                const auto resolved = resolve(words);
                if (!resolved)
                    continue;
                if (isDownload(resolved->name))
                    report(Risk::runsDownload, context, begin, word.end);
                else if (decodes(resolved->name, words.subspan(resolved->command + 1)))
                    report(Risk::runsObfuscatedCode, context, begin, word.end);
            }
        }
    }

    void readShell(const Context& context, const SimpleCommand& command, Words arguments) {
        const ShellArguments shell = shellArguments(arguments);
        if (shell.commandString) {
            reread(arguments[*shell.commandString].value, context.depth);
            return;
        }
        if (shell.script)
            return;
        for (const ShellWords::Redirection& redirection : command.redirections) {
            if (redirection.op == "<<<")
                reread(redirection.target.value, context.depth);
            if (redirection.op.starts_with('<'))
                readCodeFrom(context, redirection.target, command.begin);
        }
    }

    static Words operandsOfWatch(Words arguments) {
        const ShellOptions::Options options =
            ShellOptions::read(arguments, {"n", {"interval"}, false});
        return options.operands.empty() ? Words() : arguments.subspan(options.operands.front());
    }

    void readRemoteCommand(const Context& context, Words arguments) {
        const ShellOptions::Options options =
            ShellOptions::read(arguments, {"BbcDEeFIiJLlmOoPpQRSWw", {}, false});
        if (options.operands.size() > 1)
            reread(joined(arguments.subspan(options.operands[1])), context.depth);
    }

    void readSwitchUser(const Context& context, const Word& commandWord, Words arguments) {
        const ShellOptions::Options options =
            ShellOptions::read(arguments, {"cCsgGw",
                                           {"command", "session-command", "shell", "group",
                                            "supp-group", "whitelist-environment"}});
        const auto user = std::find_if(options.operands.begin(), options.operands.end(),
                                       [&](std::size_t i) { return arguments[i].value != "-"; });
        if (user == options.operands.end() || arguments[*user].value == "root")
            report(Risk::runsAsAdministrator, context, commandWord.begin, commandWord.end);
        for (const ShellOptions::Option& option : options.options)
            if (isOneOf(option.name, {"c", "C", "command", "session-command"}))
                reread(std::string(option.value), context.depth);
    }

    // `-exec COMMAND… ;` and its kin run a command for every file found.
    void readFindActions(const Context& context, const SimpleCommand& command, Words arguments,
                         bool feedsShell, int depth) {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (!isOneOf(arguments[i].value, {"-exec", "-execdir", "-ok", "-okdir"}))
                continue;
            std::size_t end = i + 1;
            while (end < arguments.size() && !isOneOf(arguments[end].value, {";", "+"}))
                ++end;
            const Words action = arguments.subspan(i + 1, end - i - 1);
            // Each word of an action costs as a command does: a nest of actions is read
            // once per level.
            if (depth + 1 > maxDepth || action.size() > m_commandsLeft) {
                m_out.complete = false;
                return;
            }
            m_commandsLeft -= action.size();
            readWords(context, command, action, resolve(action), feedsShell, true, depth + 1);
            i = end;
        }
    }

    void hideData(const Context& context, const SimpleCommand& command, Words arguments,
                  bool feedsShell) {
        if (!context.isCommandText || feedsShell)
            return;
        for (const Word& word : arguments)
            m_dataWords.push_back({word.begin, word.end, command.depth});
    }

    // name() { … name | name & … }: a function that starts copies of itself without end.
    void findForkBombs(const Context& context) {
        struct Definition {
            std::size_t begin;
            std::size_t end;
            bool spawns = false;
        };
        std::unordered_map<std::string_view, Definition> definitions;
        const auto& commands = context.parse.commands;
        for (const SimpleCommand& command : commands)
            if (command.definesFunction) {
                const std::size_t name = command.words[0].value == "function" ? 1 : 0;
                definitions.try_emplace(command.words[name].value,
                                        Definition{command.begin, command.end});
            }
        if (definitions.empty())
            return;
        for (const SimpleCommand& command : commands) {
            std::size_t first = 0;
            while (first < command.words.size() &&
                   RunningCommand::isReservedWord(command.words[first].value))
                ++first;
            if (command.definesFunction || first >= command.words.size())
                continue;
            const auto definition = definitions.find(command.words[first].value);
            if (definition == definitions.end() || command.begin < definition->second.begin)
                continue;
            definition->second.end = std::max(definition->second.end, command.end);
            definition->second.spawns = definition->second.spawns || command.background ||
                                        context.pipelineSizes[command.pipeline] > 1;
        }
        for (const auto& [name, definition] : definitions)
            if (definition.spawns)
                report(Risk::forkBomb, context, definition.begin, definition.end);
    }

    // Hides data words level by level: a substitution inside a data word runs, so it is shown
    // again, and its own data words hidden in turn.
    std::string withDataHidden(std::string_view text, const ShellWords::Parse& parse) const {
        std::vector<bool> hidden(text.size(), false);
        for (int depth = 0; depth <= maxDepth; ++depth) {
            for (const DataWord& word : m_dataWords)
                if (word.depth == depth)
                    std::fill(hidden.begin() + static_cast<long>(word.begin),
                              hidden.begin() + static_cast<long>(word.end), true);
            for (const ShellWords::Substitution& substitution : parse.substitutions)
                if (substitution.depth == depth + 1)
                    std::fill(hidden.begin() + static_cast<long>(substitution.begin),
                              hidden.begin() + static_cast<long>(substitution.end), false);
        }
        std::string searchable(text);
        for (std::size_t i = 0; i < searchable.size(); ++i)
            if (hidden[i])
                searchable[i] = dataByte;
        return searchable;
    }

    static constexpr std::size_t zero = 0;
    Reading& m_out;
    std::vector<DataWord> m_dataWords;
    std::size_t m_rereadLeft = rereadBudget;
    std::size_t m_commandsLeft = commandBudget;
};

} // namespace

Reading read(std::string_view command) {
    Reading reading;
    Reader(reading).readCommandText(command);
    return reading;
}

} // namespace kelvane::CommandLineReader
