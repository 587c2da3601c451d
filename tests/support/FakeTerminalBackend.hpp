#pragma once

#include "KelvaneCore/Terminal/TerminalBackend.hpp"

#include <memory>
#include <vector>

namespace kelvane::test {

/// Records each run and keeps its completion for the test to call, from any thread.
class FakeTerminalBackend : public TerminalBackend {
public:
    struct Run {
        ShellCommand command;
        OpenBehavior openIn;
        Completion completion;
    };

    /// What the backend saw; stays valid after the backend has been handed to its owner.
    struct Record {
        std::vector<Run> runs;
    };

    FakeTerminalBackend() : record(std::make_shared<Record>()) {}

    TerminalKind kind() const override { return TerminalKind::terminalApp; }
    void run(const ShellCommand& command, OpenBehavior openIn, Completion completion) override {
        record->runs.push_back({command, openIn, std::move(completion)});
    }

    std::shared_ptr<Record> record;
};

} // namespace kelvane::test
