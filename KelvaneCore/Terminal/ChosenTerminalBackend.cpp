#include "KelvaneCore/Terminal/ChosenTerminalBackend.hpp"

#include "KelvaneCore/Text/GermanQuotes.hpp"

namespace kelvane {
namespace {

// Stands for "the program itself is missing" beside the behaviours in the set of notices.
constexpr int missingProgram = -1;

} // namespace

ChosenTerminalBackend::ChosenTerminalBackend(TerminalPlatform platform, Choice choice, Factory make,
                                             NoticeLog logNotice)
    : m_platform(platform), m_choice(std::move(choice)), m_make(std::move(make)),
      m_logNotice(std::move(logNotice)) {}

TerminalKind ChosenTerminalBackend::kind() const {
    return terminalKindUsedOn(m_platform, m_choice());
}

void ChosenTerminalBackend::run(const ShellCommand& command, OpenBehavior openIn,
                                Completion completion) {
    const TerminalKind chosen = m_choice();
    const TerminalKind used = terminalKindUsedOn(m_platform, chosen);
    const TerminalProgram& program = terminalProgram(used);
    if (used != chosen)
        noteOnce({chosen, missingProgram},
                 germanQuoted(terminalProgram(chosen).name) +
                     " gibt es auf diesem System nicht \u2014 Kelvane verwendet " +
                     germanQuoted(program.name) + ".");
    if (const auto notice = program.fallbackNotice(openIn))
        noteOnce({used, static_cast<int>(openIn)}, *notice);
    auto& backend = m_backends[used];
    if (!backend)
        backend = m_make(used);
    backend->run(command, program.nearestBehavior(openIn), std::move(completion));
}

void ChosenTerminalBackend::noteOnce(std::pair<TerminalKind, int> what, const std::string& notice) {
    if (m_noticed.insert(what).second && m_logNotice)
        m_logNotice(notice);
}

} // namespace kelvane
