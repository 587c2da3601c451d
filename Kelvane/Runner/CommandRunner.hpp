#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"
#include "Kelvane/Preferences/Preferences.hpp"

#include "KelvaneCore/Configuration/CommandModel.hpp"
#include "KelvaneCore/Safety/CommandRiskScanner.hpp"
#include "KelvaneCore/Terminal/TerminalBackend.hpp"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace kelvane {

/// The one place where a chosen command runs: asks for confirmation where the risk scanner or
/// the entry want it, picks where the terminal opens it, starts it in the background and
/// explains a failure in a dialog. Lives on the main thread.
class CommandRunner : public QObject {
    Q_OBJECT

public:
    CommandRunner(std::unique_ptr<TerminalBackend> backend, Preferences& preferences,
                  Dialogs& dialogs, Workspace& workspace, QObject* parent = nullptr);

    /// Returns once the command has been handed to the backend, or when the user declines. A
    /// failure is shown later, on the main thread, while this runner still exists.
    void run(const ShellCommand& command, const std::optional<Configuration>& configuration);

private:
    bool confirm(const ShellCommand& command,
                 const std::vector<CommandRiskScanner::Finding>& findings);
    void presentError(const TerminalExecutionError& error);

    std::unique_ptr<TerminalBackend> m_backend;
    Preferences& m_preferences;
    Dialogs& m_dialogs;
    Workspace& m_workspace;
    bool m_didWarnAboutAccessibility = false;
};

} // namespace kelvane
