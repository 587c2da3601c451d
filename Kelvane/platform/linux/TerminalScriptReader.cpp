#include "Kelvane/platform/linux/TerminalScriptReader.hpp"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace kelvane::TerminalScriptReader {

namespace {

constexpr std::string_view tellTerminal = "tell application \"Terminal\"";
constexpr std::string_view activateTerminal = "tell application \"Terminal\" to activate";
constexpr std::string_view tellSystemEvents =
    "tell application \"System Events\" to tell process \"Terminal\"";
constexpr std::string_view newTabKeystroke = "keystroke \"t\" using command down";
constexpr std::string_view ifNoWindow = "if (count of windows) is 0 then";
constexpr std::string_view doScript = "do script ";
constexpr std::string_view inFrontWindow = " in front window";

constexpr int maximumDepth = 16;

struct SyntaxError {
    std::string message;
};

std::string_view stripped(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

/// Walks the script line by line; every statement must stand on a line of its own.
class Reader {
public:
    explicit Reader(std::string_view source) {
        for (std::size_t start = 0; start <= source.size();) {
            const auto end = std::min(source.find('\n', start), source.size());
            m_lines.push_back(stripped(source.substr(start, end - start)));
            start = end + 1;
        }
    }

    std::vector<std::string> read() {
        while (const auto line = next()) {
            if (*line == activateTerminal)
                continue;
            if (*line == tellTerminal)
                terminalStatements(true, {"end tell"});
            else if (*line == tellSystemEvents)
                systemEventsStatements();
            else
                fail("\u201Etell application\u201C");
        }
        return std::move(m_commandLines);
    }

private:
    std::optional<std::string_view> next() {
        while (m_next < m_lines.size()) {
            if (!m_lines[m_next++].empty())
                return m_lines[m_next - 1];
        }
        return std::nullopt;
    }

    [[noreturn]] void fail(std::string_view expected) const {
        throw SyntaxError{"Zeile " + std::to_string(m_next) + ": erwartet " +
                          std::string(expected) + "."};
    }

    std::string_view expectLine(std::initializer_list<std::string_view> ends) {
        const auto line = next();
        if (!line)
            fail("\u201E" + std::string(*ends.begin()) + "\u201C");
        return *line;
    }

    /// Reads statements for Terminal up to one of `ends` and returns the end found.
    std::string_view terminalStatements(bool runs, std::initializer_list<std::string_view> ends) {
        while (true) {
            const std::string_view line = expectLine(ends);
            for (std::string_view end : ends) {
                if (line == end)
                    return end;
            }
            if (line == "activate")
                continue;
            if (line == ifNoWindow) {
                // Each level costs stack; the scripts read here need one.
                if (++m_depth > maximumDepth)
                    fail("h\u00F6chstens " + std::to_string(maximumDepth) +
                         " verschachtelte "
                         "\u201Eif\u201C");
                if (terminalStatements(runs, {"end if", "else"}) == "else")
                    terminalStatements(false, {"end if"});
                --m_depth;
            } else if (line.starts_with(doScript)) {
                std::string commandLine = doScriptArgument(line.substr(doScript.size()));
                if (runs)
                    m_commandLines.push_back(std::move(commandLine));
            } else {
                fail("\u201Edo script\u201C oder \u201E" + std::string(*ends.begin()) + "\u201C");
            }
        }
    }

    void systemEventsStatements() {
        for (auto line = expectLine({"end tell"}); line != "end tell";
             line = expectLine({"end tell"})) {
            // Every command gets a window of its own here, so the new tab needs no keystroke.
            if (line != newTabKeystroke)
                fail("\u201Ekeystroke\u201C oder \u201Eend tell\u201C");
        }
    }

    std::string doScriptArgument(std::string_view text) {
        if (!text.starts_with('"'))
            fail("einen Text in Anf\u00FChrungszeichen");
        std::string decoded;
        std::size_t i = 1;
        for (; i < text.size() && text[i] != '"'; ++i) {
            if (text[i] == '\0')
                fail("ein Zeichen au\u00DFer NUL");
            if (text[i] != '\\') {
                decoded.push_back(text[i]);
                continue;
            }
            switch (++i < text.size() ? text[i] : '\0') {
            case '\\':
            case '"':
                decoded.push_back(text[i]);
                break;
            case 'n':
                decoded.push_back('\n');
                break;
            case 'r':
                decoded.push_back('\r');
                break;
            case 't':
                decoded.push_back('\t');
                break;
            default:
                fail("\\\\, \\\", \\n, \\r oder \\t nach dem Backslash");
            }
        }
        if (i == text.size())
            fail("das Ende des Texts");
        const std::string_view rest = text.substr(i + 1);
        if (!rest.empty() && rest != inFrontWindow)
            fail("\u201Ein front window\u201C oder das Zeilenende");
        return decoded;
    }

    std::vector<std::string_view> m_lines;
    std::size_t m_next = 0;
    int m_depth = 0;
    std::vector<std::string> m_commandLines;
};

} // namespace

std::variant<std::vector<std::string>, ScriptError> commandLines(std::string_view source) {
    try {
        return Reader(source).read();
    } catch (const SyntaxError& error) {
        return ScriptError{syntaxError, error.message};
    }
}

} // namespace kelvane::TerminalScriptReader
