#pragma once

#include "KelvaneCore/Terminal/TerminalBackend.hpp"
#include "KelvaneCore/Terminal/TerminalProgram.hpp"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <utility>

namespace kelvane {

/// Runs each command in the terminal program chosen at that moment, so that a changed
/// configuration takes effect with the next command. A program that does not exist on this
/// system is replaced by the system's own terminal, and a behaviour a program cannot do by the
/// nearest one it can; each replacement is said once in the log. Used on the main thread only.
class ChosenTerminalBackend final : public TerminalBackend {
public:
    /// The program the user chose (the file's `terminal`, or a preference over it).
    using Choice = std::function<TerminalKind()>;
    /// Makes the backend of a program that exists on this system.
    using Factory = std::function<std::unique_ptr<TerminalBackend>(TerminalKind)>;
    /// Receives the notices (category "terminal").
    using NoticeLog = std::function<void(std::string_view message)>;

    ChosenTerminalBackend(TerminalPlatform platform, Choice choice, Factory make,
                          NoticeLog logNotice = {});

    /// The program that runs the next command.
    TerminalKind kind() const override;

    void run(const ShellCommand& command, OpenBehavior openIn, Completion completion) override;

private:
    void noteOnce(std::pair<TerminalKind, int> what, const std::string& notice);

    TerminalPlatform m_platform;
    Choice m_choice;
    Factory m_make;
    NoticeLog m_logNotice;
    std::map<TerminalKind, std::unique_ptr<TerminalBackend>> m_backends;
    std::set<std::pair<TerminalKind, int>> m_noticed;
};

} // namespace kelvane
