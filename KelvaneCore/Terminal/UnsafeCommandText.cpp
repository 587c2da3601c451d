#include "KelvaneCore/Terminal/UnsafeCommandText.hpp"

#include "KelvaneCore/Unicode/UnicodeText.hpp"

namespace kelvane {
namespace {

using Unsafe = TerminalExecutionError::UnsafeCommandText;

std::optional<Unsafe::Defect> defectIn(std::string_view text) {
    // A NUL ends the text early wherever it crosses into C strings, and neither it nor broken
    // UTF-8 survives the way into Terminal unchanged: the user would run something else.
    if (text.find('\0') != std::string_view::npos)
        return Unsafe::Defect::nulCharacter;
    if (Unicode::firstInvalidUTF8Offset(text))
        return Unsafe::Defect::invalidUTF8;
    return std::nullopt;
}

} // namespace

std::optional<TerminalExecutionError> unsafeCommandText(const ShellCommand& command,
                                                        std::string_view commandLine) {
    if (const auto defect = defectIn(command.command))
        return TerminalExecutionError(Unsafe{Unsafe::Part::command, *defect});
    // Whatever else the line holds is the directory it changes into.
    if (const auto defect = defectIn(commandLine))
        return TerminalExecutionError(Unsafe{Unsafe::Part::workingDirectory, *defect});
    return std::nullopt;
}

} // namespace kelvane
