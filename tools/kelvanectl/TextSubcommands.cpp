#include "JSONOutput.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "Kelvanectl.hpp"
#include "Subcommands.hpp"

#include "KelvaneCore/Safety/CommandRiskScanner.hpp"
#include "KelvaneCore/Terminal/ITermScript.hpp"
#include "KelvaneCore/Terminal/ShellQuoting.hpp"
#include "KelvaneCore/Terminal/TerminalArguments.hpp"
#include "KelvaneCore/Text/Joining.hpp"

#include "KelvaneCore/Unicode/UnicodeText.hpp"
#include <cstdlib>

namespace kelvane::ctl {
namespace {

// A command line goes into a script only as the text the user meant; broken UTF-8 would reach
// the terminal as something else.
void requireUTF8(std::string_view text, std::string_view what) {
    if (Unicode::firstInvalidUTF8Offset(text))
        throw UsageError(std::string(what) + " ist kein g\u00FCltiger UTF-8-Text.");
}

ShellCommand commandFrom(const Invocation& invocation) {
    const std::string& text = invocation.arguments.positional(0);
    requireUTF8(text, "Der Befehl");
    std::optional<std::string> workingDirectory = invocation.arguments.value("--working-directory");
    if (workingDirectory)
        requireUTF8(*workingDirectory, "Das Arbeitsverzeichnis");
    std::optional<bool> confirm;
    if (const auto flag = invocation.arguments.value("--confirm"))
        confirm = *flag == "true";
    return ShellCommand(Uuid::random(), text, text, std::nullopt, std::nullopt,
                        std::move(workingDirectory), confirm);
}

TerminalKind terminalFrom(const Invocation& invocation) {
    const auto name = invocation.arguments.value("--terminal");
    if (!name)
        return TerminalKind::terminalApp;
    const LenientTerminalKind read = lenientTerminalKind(*name);
    if (!read.unsupported)
        return read.kind;
    std::vector<std::string> known;
    for (TerminalKind kind : allTerminalKinds)
        known.emplace_back(rawValue(kind));
    throw UsageError("Unbekanntes Terminal " + germanQuoted(*name) + " \u2014 bekannt sind " +
                     joined(known, ", ") + ".");
}

std::string userShell(const Invocation& invocation) {
    if (const auto shell = invocation.arguments.value("--shell"))
        return *shell;
    const char* shell = std::getenv("SHELL");
    return shell && *shell == '/' ? shell : "/bin/sh";
}

// One argument per word, each quoted for the shell, so that the vector reads unambiguously.
std::string argumentLine(const TerminalLaunch& launch) {
    std::vector<std::string> words;
    for (const std::string& argument : launch.arguments)
        words.push_back(ShellQuoting::singleQuoted(argument));
    return joined(words, " ");
}

} // namespace

int script(const Invocation& invocation) {
    const ShellCommand command = commandFrom(invocation);
    const std::string home =
        invocation.arguments.value("--home").value_or(invocation.homeDirectory);
    requireUTF8(home, "Das Benutzerverzeichnis");
    const TerminalAppScriptBuilder builder{home};
    if (invocation.arguments.has("--command-line")) {
        invocation.out << builder.commandLine(command) << '\n';
    } else {
        const OpenBehavior requested =
            openBehaviorFromRawValue(invocation.arguments.value("--open-in").value_or("window"))
                .value_or(OpenBehavior::window);
        const TerminalKind kind = terminalFrom(invocation);
        const TerminalProgram& program = terminalProgram(kind);
        if (const auto notice = program.fallbackNotice(requested))
            invocation.err << *notice << '\n';
        const OpenBehavior openIn = program.nearestBehavior(requested);
        if (kind == TerminalKind::terminalApp)
            invocation.out << builder.script(command, openIn) << '\n';
        else if (kind == TerminalKind::iTerm2)
            invocation.out << iTermScript(builder, command, openIn) << '\n';
        else
            invocation.out << argumentLine(TerminalArgumentBuilder{
                                  builder, userShell(invocation), "x-terminal-emulator",
                                  invocation.arguments.has("--macos") ? TerminalPlatform::macOS
                                                                      : TerminalPlatform::linux}
                                               .launch(kind, command, openIn))
                           << '\n';
    }
    return success;
}

int risk(const Invocation& invocation) {
    const ShellCommand command = commandFrom(invocation);
    const bool scannerEnabled = invocation.arguments.value("--scanner") != "off";
    const auto findings = CommandRiskScanner::requiresConfirmation(command, scannerEnabled);
    if (invocation.arguments.has("--json")) {
        rapidjson::Document document(rapidjson::kArrayType);
        auto& allocator = document.GetAllocator();
        for (const CommandRiskScanner::Finding& finding : findings) {
            rapidjson::Value entry(rapidjson::kObjectType);
            JSONOutput::addText(entry, "reason", finding.reason, allocator);
            JSONOutput::addText(entry, "matched", finding.matched, allocator);
            document.PushBack(entry, allocator);
        }
        JSONOutput::print(invocation.out, document);
    } else if (findings.empty()) {
        invocation.out << "Keine R\u00FCckfrage n\u00F6tig.\n";
    } else {
        for (const CommandRiskScanner::Finding& finding : findings) {
            invocation.out << finding.reason;
            if (!finding.matched.empty())
                invocation.out << ": " << germanQuoted(finding.matched);
            invocation.out << '\n';
        }
    }
    return findings.empty() ? success : somethingToReport;
}

} // namespace kelvane::ctl
