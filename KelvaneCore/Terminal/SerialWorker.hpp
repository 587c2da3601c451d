#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kelvane {

/// One background thread that runs submitted jobs one at a time, in the order submitted.
class SerialWorker {
public:
    SerialWorker();
    /// Runs every job still waiting, including jobs those jobs submit, then joins the thread.
    /// Must not be called from a job.
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    /// Queues a job; may be called from any thread, jobs included. A job must not throw.
    void submit(std::function<void()> job);

private:
    void drain();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace kelvane
