// Stands in for a terminal program in the desktop latency benchmark: the moment it starts, it
// writes that moment (CLOCK_MONOTONIC, as std::chrono::steady_clock reads it) and the command
// line it was given to the pipe that KELVANE_BENCH_STARTED names, and ends without opening a
// window. Linked statically, so that next to nothing of a terminal's own start-up is counted.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* pipe = std::getenv("KELVANE_BENCH_STARTED");
    if (pipe == nullptr || argc < 2)
        return 64;
    const std::int64_t nanoseconds = std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
    // One write of at most PIPE_BUF bytes, so that a report never mixes with another.
    char report[512];
    std::memcpy(report, &nanoseconds, sizeof nanoseconds);
    const std::size_t length =
        std::min(std::strlen(argv[argc - 1]), sizeof report - sizeof nanoseconds);
    std::memcpy(report + sizeof nanoseconds, argv[argc - 1], length);
    const int out = open(pipe, O_WRONLY | O_CLOEXEC);
    if (out < 0 || write(out, report, sizeof nanoseconds + length) < 0)
        return 1;
    return 0;
}
