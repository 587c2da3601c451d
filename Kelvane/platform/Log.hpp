#pragma once

#include <functional>
#include <string>
#include <string_view>

/// The application's log: German messages under the subsystem "de.tolvo.Kelvane", one category
/// per component ("app", "config", "watcher", "statusitem", "runner", "terminal", "hotkey",
/// "loginitem"). Entries go to the system log and to standard error, so that a user who starts
/// Kelvane from a terminal sees them.
namespace kelvane::Log {

enum class Level { debug, info, error };

struct Entry {
    std::string_view category;
    Level level;
    std::string message;
};

void write(std::string_view category, Level level, const std::string& message);
inline void info(std::string_view category, const std::string& message) {
    write(category, Level::info, message);
}
inline void error(std::string_view category, const std::string& message) {
    write(category, Level::error, message);
}

/// A private value as the log shows it: a hash, never the text itself.
std::string privateValue(std::string_view text);

/// Sends entries to `sink` instead of the system log and standard error (tests); an empty
/// function restores the normal outputs.
void setSink(std::function<void(const Entry&)> sink);

} // namespace kelvane::Log
