#pragma once

#include <string>
#include <string_view>

/// Makes text safe for a POSIX shell command line.
namespace kelvane::ShellQuoting {

/// The text as exactly one single-quoted shell word that the shell takes literally.
std::string singleQuoted(std::string_view text);

} // namespace kelvane::ShellQuoting
