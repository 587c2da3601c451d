#include "Kelvane/Runner/CommandRunner.hpp"

#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include "support/FakeTerminalBackend.hpp"
#include "support/InMemoryPreferenceStore.hpp"
#include "support/RecordingDialogs.hpp"

#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace kelvane {
namespace {

using Error = TerminalExecutionError;

ShellCommand command(std::string title, std::string text,
                     std::optional<bool> requiresConfirmation = std::nullopt) {
    return ShellCommand(Uuid::random(), std::move(title), std::move(text), std::nullopt,
                        std::nullopt, std::nullopt, requiresConfirmation);
}

Configuration configurationOpeningIn(OpenBehavior openIn) {
    Configuration configuration;
    configuration.settings.openIn = openIn;
    return configuration;
}

class CommandRunnerTest : public ::testing::Test {
protected:
    CommandRunnerTest() {
        auto backend = std::make_unique<test::FakeTerminalBackend>();
        record = backend->record;
        runner =
            std::make_unique<CommandRunner>(std::move(backend), preferences, dialogs, workspace);
        Log::setSink([this](const Log::Entry& entry) { logged.push_back(entry); });
    }
    ~CommandRunnerTest() override { Log::setSink({}); }

    /// The backend fails a harmless command on its own thread.
    void failWith(const Error& error) {
        runner->run(command("Tab", "ls"), std::nullopt);
        std::thread worker(
            [completion = record->runs.back().completion, error] { completion(error); });
        worker.join();
    }

    void settle(std::size_t expectedAlerts) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs.alerts.size() >= expectedAlerts; }, 5000));
        QCoreApplication::processEvents();
    }

    test::InMemoryPreferenceStore store;
    Preferences preferences{store};
    test::RecordingDialogs dialogs;
    test::RecordingWorkspace workspace;
    std::shared_ptr<test::FakeTerminalBackend::Record> record;
    std::unique_ptr<CommandRunner> runner;
    std::vector<Log::Entry> logged;
};

// Success shows nothing; a failure arriving after the runner is gone is dropped.
TEST_F(CommandRunnerTest, harmlessCommandStartsAtOnceLogsItsTitleHashedAndNeedsNoAlert) {
    runner->run(command("Liste", "ls -la"), std::nullopt);
    EXPECT_TRUE(dialogs.alerts.empty());
    ASSERT_EQ(record->runs.size(), 1u);
    EXPECT_EQ(record->runs[0].command.command, "ls -la");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].category, "runner");
    EXPECT_EQ(logged[0].level, Log::Level::info);
    EXPECT_EQ(logged[0].message, "Starte \u201E" + Log::privateValue("Liste") + "\u201C");
    EXPECT_EQ(logged[0].message.find("Liste"), std::string::npos);

    runner->run(command("Liste", "ls"), std::nullopt);
    std::thread([completion = record->runs[0].completion] { completion(std::nullopt); }).join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.alerts.empty()) << "after success";
    const auto completion = record->runs[1].completion;
    runner.reset();
    std::thread([completion] { completion(Error(Error::TerminalUnavailable{})); }).join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.alerts.empty()) << "after the runner is gone";
}

TEST_F(CommandRunnerTest, confirmationShowsFindingsCommandAndOnlyItsRunButtonStarts) {
    struct Case {
        const char* name;
        ShellCommand command;
        std::string informativeText;
    };
    const std::vector<Case> cases{
        {"marked entry", command("Harmlos", "echo hi", true),
         "In der Konfiguration als best\u00E4tigungspflichtig markiert"},
        {"two rules", command("Beides", "sudo rm -rf /tmp/x"),
         "L\u00F6scht Dateien rekursiv oder erzwungen (rm -rf)\n"
         "L\u00E4uft mit Administratorrechten (sudo)"},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        dialogs.alerts.clear();
        runner->run(testCase.command, std::nullopt);
        ASSERT_EQ(dialogs.alerts.size(), 1u);
        const Alert& alert = dialogs.alerts[0];
        EXPECT_EQ(alert.style, Alert::Style::warning);
        EXPECT_EQ(alert.messageText,
                  "\u201E" + testCase.command.title + "\u201C wirklich ausf\u00FChren?");
        EXPECT_EQ(alert.informativeText, testCase.informativeText);
        EXPECT_EQ(alert.accessoryText, testCase.command.command);
        EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Ausf\u00FChren", "Abbrechen"}));
        EXPECT_EQ(alert.destructiveButton, 0u);
        EXPECT_EQ(alert.defaultButton, 1u) << "Return cancels";
    }
    EXPECT_TRUE(record->runs.empty()) << "every confirmation was dismissed";
    dialogs.alerts.clear();
    dialogs.answers = {1, std::nullopt, 0};
    for (int attempt = 0; attempt < 3; ++attempt)
        runner->run(command("Weg", "rm -rf ~/x"), std::nullopt);
    EXPECT_EQ(dialogs.alerts.size(), 3u);
    EXPECT_EQ(record->runs.size(), 1u);

    preferences.setRiskConfirmationEnabled(false);
    runner->run(command("Root", "sudo ls"), std::nullopt);
    EXPECT_EQ(record->runs.size(), 2u) << "the scanner is off";
    runner->run(command("Markiert", "echo", true), std::nullopt);
    EXPECT_EQ(dialogs.alerts.size(), 4u) << "the entry's own flag still asks";
}

TEST_F(CommandRunnerTest, openBehaviourPrefersOverrideThenConfigurationThenWindow) {
    struct Case {
        std::optional<OpenBehavior> override;
        std::optional<Configuration> configuration;
        OpenBehavior expected;
    };
    const std::vector<Case> cases{
        {std::nullopt, std::nullopt, OpenBehavior::window},
        {std::nullopt, configurationOpeningIn(OpenBehavior::current), OpenBehavior::current},
        {OpenBehavior::tab, configurationOpeningIn(OpenBehavior::current), OpenBehavior::tab},
        {OpenBehavior::current, std::nullopt, OpenBehavior::current},
    };
    for (const Case& testCase : cases) {
        preferences.setOpenInOverride(testCase.override);
        runner->run(command("Liste", "ls"), testCase.configuration);
        EXPECT_EQ(record->runs.back().openIn, testCase.expected);
    }
}

TEST_F(CommandRunnerTest, failuresBecomeAlertsWithTheirTextsLinksAndButtons) {
    struct Case {
        Error error;
        std::vector<std::string> buttons;
        std::optional<std::string> link;
        std::size_t answer = 0;
    };
    // Where the system has no pages for its permissions, a permission error offers only "OK".
    const auto& privacy = platformWords().privacySettings;
    const std::vector<std::string> settingsButtons =
        privacy ? std::vector<std::string>{std::string(privacy->buttonTitle), "OK"}
                : std::vector<std::string>{"OK"};
    const auto link = [&](std::string_view PrivacySettings::*url) {
        return privacy ? std::optional(std::string((*privacy).*url)) : std::nullopt;
    };
    const std::vector<Case> cases{
        {Error(Error::AutomationPermissionDenied{}), settingsButtons,
         link(&PrivacySettings::automationURL)},
        {Error(Error::AccessibilityPermissionRequired{}), settingsButtons,
         link(&PrivacySettings::accessibilityURL)},
        {Error(Error::TerminalUnavailable{}), {"OK"}, std::nullopt},
        // "OK" leaves the settings closed.
        {Error(Error::AutomationPermissionDenied{}), settingsButtons, std::nullopt,
         settingsButtons.size() - 1},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.error.errorDescription());
        dialogs.alerts.clear();
        workspace.requests.clear();
        dialogs.answers = {testCase.answer};
        failWith(testCase.error);
        settle(1);
        ASSERT_EQ(dialogs.alerts.size(), 1u);
        const Alert& alert = dialogs.alerts[0];
        EXPECT_EQ(alert.style, Alert::Style::warning);
        EXPECT_EQ(alert.messageText, testCase.error.errorDescription());
        EXPECT_EQ(alert.informativeText, testCase.error.recoverySuggestion().value_or(""));
        EXPECT_EQ(alert.buttons, testCase.buttons);
        EXPECT_FALSE(alert.accessoryText);
        const std::vector<std::string> opened =
            testCase.link ? std::vector<std::string>{"url: " + *testCase.link}
                          : std::vector<std::string>{};
        EXPECT_EQ(workspace.requests, opened) << "the first button opens the link, if any";
    }

    dialogs.alerts.clear();
    failWith(Error(Error::AccessibilityPermissionRequired{}));
    failWith(Error(Error::TerminalUnavailable{}));
    settle(1);
    ASSERT_EQ(dialogs.alerts.size(), 1u) << "the hint for new tabs is shown once per run";
    EXPECT_EQ(dialogs.alerts[0].messageText,
              Error(Error::TerminalUnavailable{}).errorDescription());

    if (!privacy)
        return;
    workspace.canOpen = false;
    dialogs.alerts.clear();
    dialogs.answers = {0};
    failWith(Error(Error::AutomationPermissionDenied{}));
    settle(2);
    ASSERT_EQ(dialogs.alerts.size(), 2u) << "a link nothing opens is said so";
    EXPECT_EQ(dialogs.alerts[1].messageText, "Der Link \u201E" +
                                                 std::string(privacy->automationURL) +
                                                 "\u201C konnte nicht ge\u00F6ffnet werden.");
}

} // namespace
} // namespace kelvane
