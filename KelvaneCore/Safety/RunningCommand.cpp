#include "KelvaneCore/Safety/RunningCommand.hpp"

#include "KelvaneCore/Safety/ShellOptions.hpp"
#include "KelvaneCore/Text/ASCIILowercase.hpp"
#include "KelvaneCore/Text/OneOf.hpp"

#include <algorithm>
#include <unordered_map>

namespace kelvane::RunningCommand {
namespace {

using ShellWords::Word;
using Words = std::span<const Word>;

bool isAssignment(const Word& word) {
    const std::size_t equals = word.value.find('=');
    if (equals == 0 || equals == std::string::npos)
        return false;
    return std::all_of(word.value.begin(), word.value.begin() + static_cast<long>(equals),
                       [](char c) {
                           return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                  (c >= '0' && c <= '9');
                       });
}

// The file name of the program a command word runs, in lower case (macOS's file systems
// ignore case); empty when only the running shell knows it.
std::string commandName(const Word& word) {
    const std::size_t slash = word.value.rfind('/');
    std::string name = word.value.substr(slash == std::string::npos ? 0 : slash + 1);
    if (!word.literal && name.find_first_of("$`") != std::string::npos)
        return {};
    return asciiLowercased(name);
}

struct Wrapper {
    std::string_view name;
    ShellOptions::Grammar grammar;
    // Operands before the command: timeout's duration, chroot's folder.
    std::size_t operandsBefore = 0;
    bool elevates = false;
    bool addsOperands = false;
};

const Wrapper* wrapperNamed(std::string_view name) {
    static const Wrapper wrappers[] = {
        {"sudo",
         {"ugpCDhrtUT",
          {"user", "group", "prompt", "close-from", "chdir", "host", "role", "type", "other-user",
           "command-timeout"},
          false},
         0,
         true},
        {"doas", {"uC", {}, false}, 0, true},
        {"pkexec", {"", {"user"}, false}, 0, true},
        {"env", {"uCS", {"unset", "chdir", "split-string"}, false}},
        {"xargs",
         {"ILnPsdEa",
          {"max-args", "max-procs", "max-chars", "delimiter", "eof", "arg-file", "max-lines",
           "process-slot-var", "replace"},
          false},
         0,
         false,
         true},
        {"nohup", {"", {}, false}},
        {"time", {"fo", {"format", "output"}, false}},
        {"exec", {"a", {}, false}},
        {"command", {"", {}, false}},
        {"builtin", {"", {}, false}},
        {"nice", {"n", {"adjustment"}, false}},
        {"timeout", {"sk", {"signal", "kill-after"}, false}, 1},
        {"stdbuf", {"ioe", {"input", "output", "error"}, false}},
        {"ionice", {"cnp", {"class", "classdata", "pid"}, false}},
        {"setsid", {"", {}, false}},
        {"caffeinate", {"tw", {}, false}},
        {"unbuffer", {"", {}, false}},
        {"chroot", {"", {"userspec", "groups"}, false}, 1},
    };
    static const auto byName = [] {
        std::unordered_map<std::string_view, const Wrapper*> map;
        for (const Wrapper& wrapper : wrappers)
            map.emplace(wrapper.name, &wrapper);
        return map;
    }();
    const auto wrapper = byName.find(name);
    return wrapper == byName.end() ? nullptr : wrapper->second;
}

} // namespace

Role roleOf(std::string_view name) {
    static const std::unordered_map<std::string_view, Role> roles = [] {
        std::unordered_map<std::string_view, Role> map;
        for (std::string_view shell :
             {"sh", "bash", "zsh", "dash", "ksh", "mksh", "ash", "fish", "csh", "tcsh"})
            map.emplace(shell, Role::shell);
        for (std::string_view interpreter :
             {"perl", "ruby", "node", "nodejs", "php", "lua", "deno", "bun"})
            map.emplace(interpreter, Role::interpreter);
        for (std::string_view data :
             {"echo",     "printf",      "man",   "info",   "apropos",  "whatis",     "help",
              "tldr",     "grep",        "egrep", "fgrep",  "zgrep",    "rg",         "ag",
              "ack",      "cat",         "bat",   "batcat", "less",     "more",       "head",
              "tail",     "wc",          "sort",  "uniq",   "cut",      "nl",         "column",
              "diff",     "cmp",         "file",  "stat",   "ls",       "tree",       "du",
              "df",       "cd",          "pushd", "pwd",    "which",    "whereis",    "type",
              "locate",   "mkdir",       "touch", "cp",     "mv",       "ln",         "open",
              "xdg-open", "code",        "subl",  "nano",   "vim",      "vi",         "nvim",
              "emacs",    "ping",        "dig",   "host",   "curl",     "wget",       "jq",
              "say",      "pbcopy",      "brew",  "apt",    "apt-get",  "apt-cache",  "pip",
              "pip3",     "history",     "test",  "[",      "basename", "dirname",    "realpath",
              "readlink", "date",        "ps",    "pgrep",  "lsof",     "journalctl", "systemctl",
              "loginctl", "notify-send", "tee"})
            map.emplace(data, Role::readsData);
        for (std::string_view manager : {"npm", "yarn", "pnpm"})
            map.emplace(manager, Role::packageManager);
        for (std::string_view container : {"docker", "podman", "kubectl"})
            map.emplace(container, Role::container);
        map.insert({{"eval", Role::evaluates},
                    {"source", Role::sources},
                    {".", Role::sources},
                    {"watch", Role::watches},
                    {"ssh", Role::remoteShell},
                    {"su", Role::switchesUser},
                    {"find", Role::finds},
                    {"git", Role::git}});
        return map;
    }();
    if (name.starts_with("python"))
        return Role::interpreter;
    const auto role = roles.find(name);
    return role == roles.end() ? Role::other : role->second;
}

bool runsNoArgument(Role role, Words arguments) {
    const auto has = [&](std::initializer_list<std::string_view> words) {
        return std::any_of(arguments.begin(), arguments.end(),
                           [&](const Word& word) { return isOneOf(word.value, words); });
    };
    switch (role) {
    case Role::readsData:
        // Options that hand a reader or an editor commands or a program (less +!…, vim -c,
        // man -P, rg --pre, emacs --eval) make it run them.
        return !std::any_of(arguments.begin(), arguments.end(), [](const Word& word) {
            return (word.value.starts_with('+') && word.value.find('!') != std::string::npos) ||
                   isOneOf(word.value, {"-c", "--cmd", "-S", "-P"}) ||
                   word.value.starts_with("--pager") || word.value.starts_with("--pre") ||
                   word.value.starts_with("--eval") || word.value.starts_with("-eval");
        });
    case Role::git: {
        // Global options come before the subcommand; `-c` can set a command git runs.
        std::size_t i = 0;
        while (i < arguments.size() && arguments[i].value.starts_with('-')) {
            if (arguments[i].value == "-c")
                return false;
            i += arguments[i].value == "-C" ? 2 : 1;
        }
        return i >= arguments.size() ||
               !isOneOf(arguments[i].value,
                        {"rebase", "bisect", "submodule", "filter-branch", "config"});
    }
    case Role::packageManager:
        return !has({"exec", "x", "dlx"});
    case Role::container:
        return !has({"run", "exec", "create", "compose", "debug"});
    default:
        return false;
    }
}

bool isReservedWord(std::string_view word) {
    return word.size() <= 5 && isOneOf(word, {"if", "then", "else", "elif", "do", "while", "until",
                                              "!", "{", "}", "fi", "done", "esac", "(", ")"});
}

std::optional<Resolved> resolve(Words words) {
    Resolved resolved;
    std::size_t i = 0;
    while (true) {
        while (i < words.size() && (isAssignment(words[i]) || isReservedWord(words[i].value)))
            ++i;
        if (i >= words.size())
            return std::nullopt;
        resolved.command = i;
        resolved.name = commandName(words[i]);
        if (resolved.name == "command" && i + 1 < words.size() &&
            isOneOf(words[i + 1].value, {"-v", "-V"}))
            resolved.looksUp = true;
        const Wrapper* wrapper = wrapperNamed(resolved.name);
        if (!wrapper || resolved.looksUp)
            return resolved;
        if (wrapper->elevates)
            resolved.elevatingWords.push_back(i);
        resolved.moreOperands = resolved.moreOperands || wrapper->addsOperands;
        const auto operand = ShellOptions::firstOperand(words.subspan(i + 1), wrapper->grammar);
        if (!operand)
            return resolved;
        i += 1 + *operand + wrapper->operandsBefore;
    }
}

} // namespace kelvane::RunningCommand
