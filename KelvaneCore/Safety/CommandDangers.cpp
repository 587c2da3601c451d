#include "KelvaneCore/Safety/CommandDangers.hpp"

#include "KelvaneCore/Safety/ShellOptions.hpp"
#include "KelvaneCore/Text/ASCIILowercase.hpp"
#include "KelvaneCore/Text/OneOf.hpp"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace kelvane::CommandDangers {
namespace {

using Words = std::span<const ShellWords::Word>;
using ShellOptions::firstOperand;
using ShellOptions::read;

std::vector<Danger> removal(Words arguments, bool moreOperands) {
    const ShellOptions::Options options = read(arguments, {});
    const auto word = options.find("rRf", {"recursive", "force"});
    if (word && (moreOperands || !options.operands.empty()))
        return {{Risk::deletes, word}};
    return {};
}

std::vector<Danger> findDeletion(Words arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (arguments[i].value == "-delete")
            return {{Risk::deletes, i}};
    return {};
}

// A size that can make a file smaller: zero, or relative to the current size downwards.
bool shrinks(std::string_view size) {
    if (size.empty())
        return false;
    if (std::string_view("-<%/").find(size.front()) != std::string_view::npos)
        return true;
    const std::size_t digits = size.find_first_not_of("0123456789");
    const std::string_view number = size.substr(0, digits);
    return !number.empty() && number.find_first_not_of('0') == std::string_view::npos;
}

std::vector<Danger> truncation(Words arguments, bool moreOperands) {
    const ShellOptions::Options options = read(arguments, {"sr", {"size", "reference"}});
    const auto size = options.value('s', "size");
    if (size && shrinks(*size) && (moreOperands || !options.operands.empty()))
        return {{Risk::truncatesFiles, options.find("s", {"size"})}};
    return {};
}

std::vector<Danger> diskDump(Words arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string operand = asciiLowercased(arguments[i].value);
        if (operand.starts_with("of=") || operand.starts_with("if="))
            return {{Risk::writesRaw, i}};
    }
    return {};
}

std::vector<Danger> diskUtility(Words arguments) {
    const auto verb = firstOperand(arguments, {});
    if (!verb)
        return {};
    const std::string name = asciiLowercased(arguments[*verb].value);
    if (name.starts_with("erase") ||
        isOneOf(name, {"reformat", "zerodisk", "randomdisk", "secureerase", "partitiondisk"}))
        return {{Risk::formats, verb}};
    return {};
}

std::vector<Danger> signatureWipe(Words arguments) {
    const ShellOptions::Options options = read(arguments, {"otb", {"offset", "types", "backup"}});
    const auto word = options.find("ao", {"all", "offset"});
    if (word && !options.find("n", {"no-act"}))
        return {{Risk::wipesDrive, word}};
    return {};
}

std::vector<Danger> partitionEditor(Words arguments) {
    const ShellOptions::Options options = read(arguments, {});
    const bool lists =
        options.find("lp", {"list", "print", "info", "verify", "help", "version", "dump"}) ||
        std::any_of(options.operands.begin(), options.operands.end(),
                    [&](std::size_t i) { return asciiLowercased(arguments[i].value) == "print"; });
    if (lists)
        return {};
    return {{Risk::changesPartitions,
             arguments.empty() ? std::nullopt : std::optional<std::size_t>(arguments.size() - 1)}};
}

// Octal with the others' write bit, or a symbolic clause that gives others or all `w`.
bool grantsOthersWrite(std::string_view mode) {
    if (!mode.empty() && mode.size() <= 5 && mode.find_first_not_of("01234567") == mode.npos)
        return ((mode.back() - '0') & 2) != 0;
    std::size_t clauseBegin = 0;
    while (clauseBegin <= mode.size()) {
        const std::size_t comma = std::min(mode.find(',', clauseBegin), mode.size());
        const std::string_view clause = mode.substr(clauseBegin, comma - clauseBegin);
        const std::size_t operators = clause.find_first_not_of("ugoa");
        const std::string_view who = clause.substr(0, std::min(operators, clause.size()));
        const bool others = who.find_first_of("oa") != std::string_view::npos;
        char op = 0;
        for (std::size_t i = who.size(); i < clause.size(); ++i) {
            if (clause[i] == '+' || clause[i] == '-' || clause[i] == '=')
                op = clause[i];
            else if (clause[i] == 'w' && others && op != '-' && op != 0)
                return true;
        }
        clauseBegin = comma + 1;
    }
    return false;
}

std::vector<Danger> modeChange(Words arguments) {
    const ShellOptions::Options options = read(arguments, {"", {"reference"}});
    if (options.find("", {"reference"}) || options.operands.empty())
        return {};
    const std::size_t mode = options.operands.front();
    if (grantsOthersWrite(asciiLowercased(arguments[mode].value)))
        return {{Risk::worldWritable, mode}};
    return {};
}

std::vector<Danger> powerVerb(Words arguments, std::initializer_list<std::string_view> verbs) {
    const auto verb = firstOperand(arguments, {});
    if (verb && isOneOf(asciiLowercased(arguments[*verb].value), verbs))
        return {{Risk::shutsDown, verb}};
    return {};
}

// kill [-s SIGNAL | -n NUMBER | -SIGNAL] [--] PID…: the process -1 is every process.
std::vector<Danger> signal(Words arguments) {
    std::size_t i = 0;
    if (i < arguments.size() && isOneOf(arguments[i].value, {"-l", "-L"}))
        return {};
    if (i < arguments.size() && isOneOf(arguments[i].value, {"-s", "-n"}))
        i += 2;
    else if (i < arguments.size() && arguments[i].value.starts_with('-') &&
             arguments[i].value != "--")
        ++i;
    for (; i < arguments.size(); ++i)
        if (arguments[i].value == "-1")
            return {{Risk::killsAllProcesses, i}};
    return {};
}

std::vector<Danger> gitSubcommand(std::string_view subcommand, Words arguments) {
    if (subcommand == "push") {
        const ShellOptions::Options options =
            read(arguments, {"o", {"repo", "push-option", "receive-pack", "exec"}});
        if (const auto word = options.find("f", {"force"}))
            return {{Risk::rewritesRemoteHistory, word}};
        for (std::size_t operand : options.operands)
            if (arguments[operand].value.starts_with('+'))
                return {{Risk::rewritesRemoteHistory, operand}};
        return {};
    }
    const ShellOptions::Options options = read(arguments, {"bBsm", {"source", "message"}});
    const auto discards = [](std::optional<std::size_t> word) {
        return std::vector<Danger>{{Risk::discardsGitChanges, word}};
    };
    if (subcommand == "reset" && options.find("", {"hard"}))
        return discards(options.find("", {"hard"}));
    if (subcommand == "clean" && options.find("f", {"force"}) && !options.find("n", {"dry-run"}))
        return discards(options.find("f", {"force"}));
    if (subcommand == "checkout") {
        if (const auto word = options.find("f", {"force"}))
            return discards(word);
        const auto separator = std::find_if(arguments.begin(), arguments.end(),
                                            [](const auto& word) { return word.value == "--"; });
        const bool paths = separator != arguments.end() && separator + 1 != arguments.end();
        const bool everything =
            std::any_of(options.operands.begin(), options.operands.end(),
                        [&](std::size_t i) { return arguments[i].value == "."; });
        if (paths || everything)
            return discards(arguments.size() - 1);
    }
    if (subcommand == "restore" && !options.operands.empty() &&
        (!options.find("S", {"staged"}) || options.find("W", {"worktree"})))
        return discards(options.operands.back());
    if (subcommand == "stash" && !options.operands.empty() &&
        isOneOf(arguments[options.operands.front()].value, {"drop", "clear"}))
        return discards(options.operands.front());
    if (subcommand == "branch" &&
        (options.find("D", {}) || (options.find("d", {"delete"}) && options.find("f", {"force"}))))
        return discards(options.find("Ddf", {"delete", "force"}));
    return {};
}

std::vector<Danger> git(Words arguments) {
    std::size_t i = 0;
    while (i < arguments.size() && arguments[i].value.starts_with('-'))
        i += isOneOf(arguments[i].value, {"-C", "-c", "--git-dir", "--work-tree", "--namespace"})
                 ? 2
                 : 1;
    if (i >= arguments.size())
        return {};
    std::vector<Danger> dangers = gitSubcommand(arguments[i].value, arguments.subspan(i + 1));
    for (Danger& danger : dangers)
        danger.lastArgument = danger.lastArgument.value_or(0) + i + 1;
    return dangers;
}

// systemctl poweroff, or the unit that does it: systemctl start reboot.target.
std::vector<Danger> systemControl(Words arguments) {
    const ShellOptions::Options options = read(arguments, {});
    for (std::size_t operand : options.operands) {
        std::string unit = asciiLowercased(arguments[operand].value);
        if (unit.ends_with(".target"))
            unit.resize(unit.size() - 7);
        if (isOneOf(unit, {"poweroff", "reboot", "halt", "kexec", "soft-reboot"}))
            return {{Risk::shutsDown, operand}};
    }
    return {};
}

// A download written straight onto a drive: curl -o /dev/sdb, wget -O /dev/sdb.
std::vector<Danger> downloadToDrive(Words arguments) {
    const ShellOptions::Options options = read(arguments, {"oO", {"output", "output-document"}});
    for (const ShellOptions::Option& option : options.options)
        if (!option.value.empty() && isDrive(option.value))
            return {{Risk::writesDrive, option.word}};
    return {};
}

std::vector<Danger> copyToDrive(Words arguments) {
    const ShellOptions::Options options = read(arguments, {"t", {"target-directory"}});
    for (std::size_t operand : options.operands)
        if (isDrive(arguments[operand].value))
            return {{Risk::writesDrive, operand}};
    return {};
}

std::optional<std::size_t> lastOf(Words arguments) {
    if (arguments.empty())
        return std::nullopt;
    return arguments.size() - 1;
}

} // namespace

bool isDrive(std::string_view path) {
    const std::string lower = asciiLowercased(path);
    if (!lower.starts_with("/dev/"))
        return false;
    const std::string_view device = std::string_view(lower).substr(5);
    for (std::string_view prefix : {"disk", "rdisk", "sd", "hd", "vd", "xvd", "nvme", "mmcblk",
                                    "md", "dm-", "mapper/", "nbd"})
        if (device.starts_with(prefix) && device.size() > prefix.size())
            return true;
    return false;
}

std::vector<Danger> of(std::string_view name, std::span<const ShellWords::Word> arguments,
                       bool moreOperands) {
    using Check = std::vector<Danger> (*)(Words, bool);
    static const std::unordered_map<std::string_view, Check> checks = [] {
        std::unordered_map<std::string_view, Check> map{
            {"rm", removal},
            {"find",
             [](Words words, bool) {
                 return findDeletion(words);
             }},
            {"truncate", truncation},
            {"dd",
             [](Words words, bool) {
                 return diskDump(words);
             }},
            {"diskutil",
             [](Words words, bool) {
                 return diskUtility(words);
             }},
            {"wipefs",
             [](Words words, bool) {
                 return signatureWipe(words);
             }},
            {"blkdiscard",
             [](Words words, bool) {
                 return std::vector<Danger>{{Risk::wipesDrive, lastOf(words)}};
             }},
            {"chmod",
             [](Words words, bool) {
                 return modeChange(words);
             }},
            {"systemctl",
             [](Words words, bool) {
                 return systemControl(words);
             }},
            {"loginctl",
             [](Words words, bool) {
                 return powerVerb(words, {"poweroff", "reboot"});
             }},
            {"kill",
             [](Words words, bool) {
                 return signal(words);
             }},
            {"killall5",
             [](Words, bool) {
                 return std::vector<Danger>{{Risk::killsAllProcesses, std::nullopt}};
             }},
            {"git",
             [](Words words, bool) {
                 return git(words);
             }},
        };
        for (std::string_view name : {"shred", "srm", "wipe"})
            map.emplace(name, [](Words words, bool) {
                return std::vector<Danger>{{Risk::overwritesFiles, lastOf(words)}};
            });
        for (std::string_view name : {"mke2fs", "mkdosfs", "mkntfs", "mkexfatfs", "mkswap"})
            map.emplace(name, [](Words, bool) {
                return std::vector<Danger>{{Risk::formats, std::nullopt}};
            });
        for (std::string_view name :
             {"fdisk", "sfdisk", "cfdisk", "gdisk", "sgdisk", "cgdisk", "parted"})
            map.emplace(name, [](Words words, bool) { return partitionEditor(words); });
        for (std::string_view name : {"shutdown", "reboot", "halt", "poweroff"})
            map.emplace(name, [](Words, bool) {
                return std::vector<Danger>{{Risk::shutsDown, std::nullopt}};
            });
        for (std::string_view name : {"init", "telinit"})
            map.emplace(name, [](Words words, bool) { return powerVerb(words, {"0", "6"}); });
        for (std::string_view name : {"curl", "wget"})
            map.emplace(name, [](Words words, bool) { return downloadToDrive(words); });
        for (std::string_view name : {"tee", "cp"})
            map.emplace(name, [](Words words, bool) { return copyToDrive(words); });
        return map;
    }();
    if (name.starts_with("mkfs") || name.starts_with("newfs"))
        return {{Risk::formats, std::nullopt}};
    const auto check = checks.find(name);
    return check == checks.end() ? std::vector<Danger>{} : check->second(arguments, moreOperands);
}

} // namespace kelvane::CommandDangers
