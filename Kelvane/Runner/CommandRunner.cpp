#include "Kelvane/Runner/CommandRunner.hpp"

#include "Kelvane/Desktop/DesktopOpener.hpp"
#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include "KelvaneCore/Text/GermanQuotes.hpp"
#include "KelvaneCore/Text/Joining.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <QCoreApplication>
#include <QPointer>

namespace kelvane {
namespace {

std::optional<std::string> settingsLink(const TerminalExecutionError::Case& errorCase) {
    const auto& settings = platformWords().privacySettings;
    if (!settings)
        return std::nullopt;
    if (std::holds_alternative<TerminalExecutionError::AccessibilityPermissionRequired>(errorCase))
        return std::string(settings->accessibilityURL);
    if (std::holds_alternative<TerminalExecutionError::AutomationPermissionDenied>(errorCase))
        return std::string(settings->automationURL);
    return std::nullopt;
}

std::string findingLines(const std::vector<CommandRiskScanner::Finding>& findings) {
    std::vector<std::string> lines;
    for (const CommandRiskScanner::Finding& finding : findings) {
        std::string line = finding.reason;
        if (!finding.matched.empty())
            line.append(" (").append(Unicode::trimmed(finding.matched)).append(")");
        lines.push_back(std::move(line));
    }
    return joined(lines, "\n");
}

} // namespace

CommandRunner::CommandRunner(std::unique_ptr<TerminalBackend> backend, Preferences& preferences,
                             Dialogs& dialogs, Workspace& workspace, QObject* parent)
    : QObject(parent), m_backend(std::move(backend)), m_preferences(preferences),
      m_dialogs(dialogs), m_workspace(workspace) {}

void CommandRunner::run(const ShellCommand& command,
                        const std::optional<Configuration>& configuration) {
    const auto findings =
        CommandRiskScanner::requiresConfirmation(command, m_preferences.riskConfirmationEnabled());
    if (!findings.empty() && !confirm(command, findings))
        return;
    const OpenBehavior openIn = m_preferences.openInOverride().value_or(
        configuration ? configuration->settings.openIn : OpenBehavior::window);
    Log::info("runner", "Starte " + germanQuoted(Log::privateValue(command.title)));
    // The completion comes on the backend's worker thread; the runner is touched only after
    // the hop to the main thread, and not at all once it is gone.
    QPointer<CommandRunner> self(this);
    m_backend->run(command, openIn, [self](std::optional<TerminalExecutionError> error) mutable {
        if (!error)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self = std::move(self), error = std::move(*error)] {
                if (self)
                    self->presentError(error);
            },
            Qt::QueuedConnection);
    });
}

bool CommandRunner::confirm(const ShellCommand& command,
                            const std::vector<CommandRiskScanner::Finding>& findings) {
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = germanQuoted(command.title) + " wirklich ausf\u00FChren?";
    alert.informativeText = findingLines(findings);
    alert.accessoryText = command.command;
    alert.buttons = {"Ausf\u00FChren", "Abbrechen"};
    alert.destructiveButton = 0;
    // Return cancels: running is a choice the user makes with the mouse or by tabbing to it.
    alert.defaultButton = 1;
    return m_dialogs.runModal(alert) == std::optional<std::size_t>(0);
}

void CommandRunner::presentError(const TerminalExecutionError& error) {
    if (std::holds_alternative<TerminalExecutionError::AccessibilityPermissionRequired>(
            error.errorCase())) {
        if (m_didWarnAboutAccessibility)
            return;
        m_didWarnAboutAccessibility = true;
    }
    const auto link = settingsLink(error.errorCase());
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = error.errorDescription();
    alert.informativeText = error.recoverySuggestion().value_or("");
    if (link)
        alert.buttons.emplace_back(platformWords().privacySettings->buttonTitle);
    alert.buttons.push_back("OK");
    if (m_dialogs.runModal(alert) == std::optional<std::size_t>(0) && link)
        DesktopOpener(m_workspace, m_dialogs).openURL(*link);
}

} // namespace kelvane
