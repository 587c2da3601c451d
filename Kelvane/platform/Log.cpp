#include "Kelvane/platform/Log.hpp"

#include <syslog.h>

#include <cstdio>
#include <iomanip>
#include <sstream>

namespace kelvane::Log {
namespace {

std::function<void(const Entry&)>& sink() {
    static std::function<void(const Entry&)> current;
    return current;
}

int priority(Level level) {
    switch (level) {
    case Level::debug:
        return LOG_DEBUG;
    case Level::error:
        return LOG_ERR;
    case Level::info:
        break;
    }
    return LOG_INFO;
}

} // namespace

void write(std::string_view category, Level level, const std::string& message) {
    if (sink()) {
        sink()({category, level, message});
        return;
    }
    static const bool opened = [] {
        ::openlog("de.tolvo.Kelvane", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    std::string line = "[";
    line.append(category).append("] ").append(message);
    ::syslog(priority(level), "%s", line.c_str());
    std::fprintf(stderr, "Kelvane %s\n", line.c_str());
}

std::string privateValue(std::string_view text) {
    // FNV-1a: stable across runs, so that one command's entries can be told apart.
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    std::ostringstream out;
    out << "<mask.hash: '" << std::hex << std::setw(16) << std::setfill('0') << hash << "'>";
    return out.str();
}

void setSink(std::function<void(const Entry&)> newSink) {
    sink() = std::move(newSink);
}

} // namespace kelvane::Log
