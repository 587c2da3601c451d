#pragma once

#include "Arguments.hpp"

#include <cstdint>
#include <ostream>
#include <string>

namespace kelvane::ctl {

/// What a subcommand works with.
struct Invocation {
    const Arguments& arguments;
    std::ostream& out;
    std::ostream& err;
    std::uint32_t currentUser;
    std::string homeDirectory;
    /// Where the tool may keep what it can always make again (the user's cache folder).
    std::string cacheFolder;
};

// Subcommands over a configuration file.
int check(const Invocation& invocation);
int menu(const Invocation& invocation);
int search(const Invocation& invocation);
int convert(const Invocation& invocation);
int migrate(const Invocation& invocation);
int normalize(const Invocation& invocation);
int trust(const Invocation& invocation);

// Subcommands over a command text.
int script(const Invocation& invocation);
int risk(const Invocation& invocation);

} // namespace kelvane::ctl
