#include "KelvaneCore/Terminal/TerminalAppBackend.hpp"

#include "tests/KelvaneCore/Terminal/RecordingScriptEngine.hpp"
#include "tests/KelvaneCore/Terminal/TerminalCommandFixtures.hpp"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace kelvane {
namespace {

using test::shellCommand;
using Error = TerminalExecutionError;
using Result = std::optional<TerminalExecutionError>;

const TerminalAppScriptBuilder builder("/home/anna");

/// A backend over a recording engine. Everything it recorded may be read once `finish()` has
/// waited for the worker.
class Harness {
public:
    explicit Harness(std::deque<std::optional<ScriptError>> answers = {},
                     std::unique_ptr<ScriptEngine> engine = nullptr,
                     const TerminalAppScriptBuilder& scripts = builder) {
        if (!engine)
            engine = std::make_unique<test::RecordingScriptEngine>(record, std::move(answers));
        m_backend.emplace(scripts, std::move(engine),
                          [this](std::string_view notice) { notices.emplace_back(notice); });
    }

    TerminalAppBackend& backend() { return *m_backend; }

    /// Runs a command; its results are collected under `key`.
    void run(const ShellCommand& command, OpenBehavior openIn, int key = 0) {
        m_backend->run(command, openIn, [this, key](Result result) {
            results[key].push_back(std::move(result));
            completionThreads.push_back(std::this_thread::get_id());
            order.push_back(key);
        });
    }

    void finish() { m_backend.reset(); }

    test::ScriptRecord record;
    std::vector<std::string> notices;
    std::map<int, std::vector<Result>> results;
    std::vector<std::thread::id> completionThreads;
    std::vector<int> order;

private:
    std::optional<TerminalAppBackend> m_backend;
};

TEST(TerminalAppBackend, anEngineExceptionStillCompletesOnce) {
    struct ThrowingEngine final : ScriptEngine {
        std::optional<ScriptError> execute(const std::string&) override {
            throw std::runtime_error("kaputt");
        }
    };
    Harness harness({}, std::make_unique<ThrowingEngine>());
    harness.run(shellCommand("true"), OpenBehavior::tab);
    harness.finish();
    EXPECT_EQ(harness.results[0], std::vector<Result>{Error(Error::ScriptFailed{-1, "kaputt"})});
}

TEST(TerminalAppBackend, runsTheBehavioursScriptOnItsWorkerAndOpensAMissingTabAsAWindow) {
    const ShellCommand command = shellCommand("echo \"hi\"", "~/src");
    const std::string tab = builder.script(command, OpenBehavior::tab);
    const std::string window = builder.script(command, OpenBehavior::window);
    const std::string current = builder.script(command, OpenBehavior::current);
    const std::string notice = "Accessibility fehlt \u2014 weiche auf neues Fenster aus.";
    using O = OpenBehavior;
    const Error accessibility(Error::AccessibilityPermissionRequired{});
    const Error unavailable(Error::TerminalUnavailable{}),
        denied(Error::AutomationPermissionDenied{});
    const ScriptError e1719{-1719, "x"}, e25211{-25211, "x"}, e1728{-1728, "x"}, e1743{-1743, "x"};
    struct Case {
        O openIn;
        std::deque<std::optional<ScriptError>> answers;
        std::vector<std::string> sources;
        Result result;
        bool fellBack;
    };
    const Case cases[] = {
        {O::window, {}, {window}, std::nullopt, false},
        {O::tab, {}, {tab}, std::nullopt, false},
        {O::current, {}, {current}, std::nullopt, false},
        {O::tab, {e1719}, {tab, window}, accessibility, true},
        {O::tab, {e25211, e1728}, {tab, window}, unavailable, true},
        {O::tab, {e1743}, {tab}, denied, false},
        {O::current, {e25211}, {current}, accessibility, false},
    };
    for (const Case& c : cases) {
        Harness harness(c.answers);
        harness.run(command, c.openIn);
        harness.finish();
        EXPECT_EQ(harness.record.sources, c.sources) << rawValue(c.openIn);
        EXPECT_EQ(harness.results[0], std::vector{c.result}) << rawValue(c.openIn);
        EXPECT_EQ(harness.notices, c.fellBack ? std::vector{notice} : std::vector<std::string>{});
        EXPECT_NE(harness.record.threads.at(0), std::this_thread::get_id());
        EXPECT_EQ(harness.completionThreads, std::vector{harness.record.threads.back()});
    }
}

TEST(TerminalAppBackend, callersOnManyThreadsEachKeepTheirOrder) {
    Harness harness;
    constexpr int threadCount = 4;
    constexpr int runsPerThread = 100;
    {
        std::vector<std::jthread> callers;
        for (int t = 0; t < threadCount; ++t) {
            callers.emplace_back([&harness, t] {
                for (int i = 0; i < runsPerThread; ++i)
                    harness.run(shellCommand(std::to_string(t) + " " + std::to_string(i)),
                                OpenBehavior::window, t * runsPerThread + i);
            });
        }
    }
    harness.finish();
    ASSERT_EQ(harness.order.size(), std::size_t{threadCount * runsPerThread});
    std::vector<int> lastOfThread(threadCount, -1);
    for (int key : harness.order) {
        EXPECT_GT(key % runsPerThread, lastOfThread[key / runsPerThread]);
        lastOfThread[key / runsPerThread] = key % runsPerThread;
    }
    EXPECT_FALSE(harness.record.overlapped);
    for (std::thread::id thread : harness.record.threads)
        EXPECT_EQ(thread, harness.record.threads.front());
    for (const auto& [key, results] : harness.results)
        EXPECT_EQ(results.size(), 1u) << key;
}

TEST(TerminalAppBackend, destructionCompletesEveryPendingRun) {
    Harness harness({ScriptError{-1719, "x"}});
    harness.run(shellCommand("first"), OpenBehavior::tab, 0);
    for (int key = 1; key < 100; ++key)
        harness.run(shellCommand("next"), OpenBehavior::window, key);
    harness.finish();
    ASSERT_EQ(harness.results.size(), 100u);
    for (const auto& [key, results] : harness.results)
        EXPECT_EQ(results.size(), 1u) << key;
    // The fallback, submitted from the worker while the queue was being filled, ran too.
    EXPECT_EQ(harness.record.sources.size(), 101u);
}

TEST(TerminalAppBackend, refusesOnlyTextThatAScriptCannotCarry) {
    using Unsafe = Error::UnsafeCommandText;
    using Part = Unsafe::Part;
    using Defect = Unsafe::Defect;
    struct Case {
        std::string command;
        std::optional<std::string> workingDirectory;
        std::string home;
        std::optional<Unsafe> expected;
    };
    const Case cases[] = {
        {std::string("rm -rf /tmp/x\0 /", 16),
         {},
         "/h",
         Unsafe{Part::command, Defect::nulCharacter}},
        {"echo \xC3(", {}, "/h", Unsafe{Part::command, Defect::invalidUTF8}},
        {"ls", std::string("/tmp\0/etc", 9), "/h",
         Unsafe{Part::workingDirectory, Defect::nulCharacter}},
        {"ls", "~/x", "/home/\xC0\xAF", Unsafe{Part::workingDirectory, Defect::invalidUTF8}},
        {std::string("\0", 1), "/tmp/\xFF", "/h", Unsafe{Part::command, Defect::nulCharacter}},
        // Well-formed text of any kind, control characters included, passes.
        {"echo \u00E4\U0001F600 \a\x7F", "~/\u00FCber", "/h", std::nullopt},
    };
    for (const Case& c : cases) {
        Harness harness({}, nullptr, TerminalAppScriptBuilder(c.home));
        harness.run(shellCommand(c.command, c.workingDirectory), OpenBehavior::window);
        harness.finish();
        const Result expected = c.expected ? Result(Error(*c.expected)) : std::nullopt;
        EXPECT_EQ(harness.results[0], std::vector{expected}) << c.command;
        EXPECT_EQ(harness.record.sources.size(), c.expected ? 0u : 1u) << c.command;
        EXPECT_NE(harness.completionThreads.at(0), std::this_thread::get_id());
    }
}

} // namespace
} // namespace kelvane
