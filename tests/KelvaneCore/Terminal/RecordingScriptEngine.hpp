#pragma once

#include "KelvaneCore/Terminal/ScriptEngine.hpp"

#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvane::test {

/// What a `RecordingScriptEngine` saw; outlives the engine so tests can read it afterwards.
struct ScriptRecord {
    std::mutex mutex;
    std::vector<std::string> sources;
    std::vector<std::thread::id> threads;
    bool running = false;
    bool overlapped = false;
};

/// Records every source it is given and answers with the queued results, success once they
/// run out.
class RecordingScriptEngine final : public ScriptEngine {
public:
    RecordingScriptEngine(ScriptRecord& record, std::deque<std::optional<ScriptError>> answers)
        : m_record(record), m_answers(std::move(answers)) {}

    std::optional<ScriptError> execute(const std::string& source) override {
        {
            std::lock_guard lock(m_record.mutex);
            m_record.overlapped = m_record.overlapped || m_record.running;
            m_record.running = true;
            m_record.sources.push_back(source);
            m_record.threads.push_back(std::this_thread::get_id());
        }
        // Gives a second script running at the same time the chance to show itself.
        std::this_thread::yield();
        std::lock_guard lock(m_record.mutex);
        m_record.running = false;
        if (m_answers.empty())
            return std::nullopt;
        std::optional<ScriptError> answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer;
    }

private:
    ScriptRecord& m_record;
    std::deque<std::optional<ScriptError>> m_answers;
};

} // namespace kelvane::test
