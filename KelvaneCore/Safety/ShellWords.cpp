#include "KelvaneCore/Safety/ShellWords.hpp"

namespace kelvane::ShellWords {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool endsWord(char c) {
    return isBlank(c) || c == '\n' || c == ';' || c == '&' || c == '|' || c == '(' || c == ')' ||
           c == '<' || c == '>';
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// What closes the commands being read: the end of the text, `)` or a backtick.
enum class Closer { text, parenthesis, backtick };

class Parser {
public:
    Parser(std::string_view text, int maxDepth, std::size_t maxCommands)
        : m_text(text), m_maxDepth(maxDepth), m_maxCommands(maxCommands) {}

    Parse run() {
        readCommands(0, Closer::text);
        return std::move(m_out);
    }

private:
    bool atEnd() const { return m_stopped || m_pos >= m_text.size(); }
    bool at(std::size_t ahead, char c) const {
        return m_pos + ahead < m_text.size() && m_text[m_pos + ahead] == c;
    }

    // One list of commands, up to its closer; nested parentheses group without closing it.
    void readCommands(int depth, Closer closer) {
        SimpleCommand current;
        current.depth = depth;
        current.pipeline = m_nextPipeline++;
        int openParentheses = 0;
        const auto finish = [&](bool piped, bool background) {
            const std::size_t pipeline = current.pipeline;
            if (!current.words.empty() || !current.redirections.empty()) {
                if (m_out.commands.size() + m_out.substitutions.size() >= m_maxCommands) {
                    m_out.complete = false;
                    m_stopped = true;
                    return;
                }
                current.background = background;
                if (!current.words.empty() && current.words[0].value == "function")
                    current.definesFunction = current.words.size() > 1;
                m_out.commands.push_back(std::move(current));
            }
            current = SimpleCommand{};
            current.depth = depth;
            current.pipeline = piped ? pipeline : m_nextPipeline++;
        };
        const auto extend = [&](std::size_t begin, bool first) {
            if (first)
                current.begin = begin;
            current.end = m_pos;
        };
        while (!atEnd()) {
            const char c = m_text[m_pos];
            if (isBlank(c)) {
                ++m_pos;
            } else if (c == '\\' && at(1, '\n')) {
                m_pos += 2;
            } else if (c == '`' && closer == Closer::backtick) {
                ++m_pos;
                break;
            } else if (c == ')') {
                ++m_pos;
                if (openParentheses == 0 && closer == Closer::parenthesis)
                    break;
                openParentheses -= openParentheses > 0 ? 1 : 0;
                finish(false, false);
            } else if (c == '(') {
                ++m_pos;
                if (definesFunction(current)) {
                    current.definesFunction = true;
                    m_pos = m_text.find(')', m_pos) + 1;
                } else {
                    ++openParentheses;
                }
                finish(false, false);
            } else if (c == '|') {
                const bool orList = at(1, '|');
                m_pos += orList || at(1, '&') ? 2 : 1;
                finish(!orList, false);
            } else if (c == '&' && !at(1, '>')) {
                const bool andList = at(1, '&');
                m_pos += andList ? 2 : 1;
                finish(false, !andList);
            } else if (c == ';' || c == '\n') {
                m_pos += c == ';' && (at(1, ';') || at(1, '&')) ? 2 : 1;
                finish(false, false);
            } else if ((c == '<' || c == '>' || c == '&') && !at(1, '(')) {
                const std::size_t begin = m_pos;
                const bool first = current.words.empty() && current.redirections.empty();
                readRedirection(current, depth, closer, begin);
                extend(begin, first);
            } else {
                const std::size_t begin = m_pos;
                const bool first = current.words.empty() && current.redirections.empty();
                Word word = readWord(depth, closer);
                if (isDescriptorNumber(word) && !atEnd() &&
                    (m_text[m_pos] == '<' || m_text[m_pos] == '>') && !at(1, '(')) {
                    readRedirection(current, depth, closer, begin);
                } else {
                    current.words.push_back(std::move(word));
                }
                extend(begin, first);
            }
        }
        finish(false, false);
    }

    // `name ()`: the parentheses right after a command's only word make it a function.
    bool definesFunction(const SimpleCommand& command) const {
        if (command.words.size() != 1 || !command.redirections.empty())
            return false;
        std::size_t next = m_pos;
        while (next < m_text.size() && isBlank(m_text[next]))
            ++next;
        return next < m_text.size() && m_text[next] == ')';
    }

    bool isDescriptorNumber(const Word& word) const {
        if (word.value.empty() || word.end - word.begin != word.value.size())
            return false;
        for (char c : word.value)
            if (c < '0' || c > '9')
                return false;
        return true;
    }

    void readRedirection(SimpleCommand& command, int depth, Closer closer, std::size_t begin) {
        const std::size_t opBegin = m_pos;
        if (m_text[m_pos] == '&')
            ++m_pos;
        const char direction = m_text[m_pos++];
        while (!atEnd() &&
               (m_text[m_pos] == direction || m_text[m_pos] == '|' || m_text[m_pos] == '&' ||
                m_text[m_pos] == '-' || (direction == '<' && m_text[m_pos] == '>'))) {
            ++m_pos;
            if (m_pos - opBegin >= 3)
                break;
        }
        Redirection redirection;
        redirection.op = std::string(m_text.substr(opBegin, m_pos - opBegin));
        redirection.begin = begin;
        while (!atEnd() && isBlank(m_text[m_pos]))
            ++m_pos;
        if (!atEnd() && (!endsWord(m_text[m_pos]) || at(1, '(')))
            redirection.target = readWord(depth, closer);
        command.redirections.push_back(std::move(redirection));
    }

    Word readWord(int depth, Closer closer) {
        Word word;
        word.begin = m_pos;
        while (!atEnd()) {
            const char c = m_text[m_pos];
            if ((c == '<' || c == '>') && at(1, '(')) {
                const std::size_t begin = m_pos;
                m_pos += 2;
                readSubstitution(word, depth, Closer::parenthesis, begin);
            } else if (endsWord(c)) {
                break;
            } else if (c == '`') {
                if (closer == Closer::backtick)
                    break;
                const std::size_t begin = m_pos++;
                readSubstitution(word, depth, Closer::backtick, begin);
            } else if (c == '\'') {
                const std::size_t close = m_text.find('\'', m_pos + 1);
                const std::size_t end = close == std::string_view::npos ? m_text.size() : close;
                word.value.append(m_text.substr(m_pos + 1, end - m_pos - 1));
                m_pos = end == m_text.size() ? end : end + 1;
            } else if (c == '"') {
                ++m_pos;
                readDoubleQuoted(word, depth, closer);
            } else if (c == '\\') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] != '\n')
                    word.value += m_text[m_pos + 1];
                m_pos += 2;
            } else if (c == '$') {
                readDollar(word, depth, closer, false);
            } else {
                word.value += c;
                ++m_pos;
            }
        }
        word.end = std::min(m_pos, m_text.size());
        return word;
    }

    void readDoubleQuoted(Word& word, int depth, Closer closer) {
        while (!atEnd()) {
            const char c = m_text[m_pos];
            if (c == '"') {
                ++m_pos;
                return;
            }
            if (c == '\\' && m_pos + 1 < m_text.size()) {
                const char next = m_text[m_pos + 1];
                if (next == '$' || next == '`' || next == '"' || next == '\\')
                    word.value += next;
                else if (next != '\n')
                    word.value.append({c, next});
                m_pos += 2;
            } else if (c == '$') {
                readDollar(word, depth, closer, true);
            } else if (c == '`') {
                if (closer == Closer::backtick)
                    return;
                const std::size_t begin = m_pos++;
                readSubstitution(word, depth, Closer::backtick, begin);
            } else {
                word.value += c;
                ++m_pos;
            }
        }
    }

    void readDollar(Word& word, int depth, Closer closer, bool inDoubleQuotes) {
        const std::size_t begin = m_pos;
        if (at(1, '(')) {
            m_pos += 2;
            readSubstitution(word, depth, Closer::parenthesis, begin);
        } else if (at(1, '{')) {
            readParameter(word, depth, closer);
        } else if (at(1, '\'') && !inDoubleQuotes) {
            m_pos += 2;
            readANSIQuoted(word);
        } else if (at(1, '"') && !inDoubleQuotes) {
            m_pos += 2;
            readDoubleQuoted(word, depth, closer);
        } else if (m_pos + 1 < m_text.size() &&
                   (isNameCharacter(m_text[m_pos + 1]) ||
                    std::string_view("@*#?!$-").find(m_text[m_pos + 1]) !=
                        std::string_view::npos)) {
            word.literal = false;
            m_pos += 2;
            if (isNameCharacter(m_text[m_pos - 1]))
                while (!atEnd() && isNameCharacter(m_text[m_pos]))
                    ++m_pos;
            word.value.append(m_text.substr(begin, m_pos - begin));
        } else {
            word.value += '$';
            ++m_pos;
        }
    }

    // `${…}`, with any substitutions inside it read as commands.
    void readParameter(Word& word, int depth, Closer closer) {
        word.literal = false;
        word.value += "${";
        m_pos += 2;
        int openBraces = 1;
        while (!atEnd() && openBraces > 0) {
            const char c = m_text[m_pos];
            if (c == '$' && at(1, '(')) {
                const std::size_t begin = m_pos;
                m_pos += 2;
                readSubstitution(word, depth, Closer::parenthesis, begin);
                continue;
            }
            if (c == '`' && closer != Closer::backtick) {
                const std::size_t begin = m_pos++;
                readSubstitution(word, depth, Closer::backtick, begin);
                continue;
            }
            if (c == '\\' && m_pos + 1 < m_text.size())
                word.value += m_text[m_pos++];
            else if (c == '{')
                ++openBraces;
            else if (c == '}')
                --openBraces;
            word.value += m_text[m_pos++];
        }
    }

    // `$'…'`: the escapes that could spell a command name are decoded.
    void readANSIQuoted(Word& word) {
        while (!atEnd() && m_text[m_pos] != '\'') {
            const char c = m_text[m_pos++];
            if (c != '\\' || atEnd()) {
                word.value += c;
                continue;
            }
            const char escape = m_text[m_pos++];
            const std::string_view letters = "abefnrtv";
            const std::string_view codes = "\a\b\x1B\f\n\r\t\v";
            if (const std::size_t letter = letters.find(escape); letter != std::string_view::npos) {
                word.value += codes[letter];
            } else if (escape == 'x') {
                int value = 0;
                for (int digits = 0; digits < 2 && !atEnd() && hexValue(m_text[m_pos]) >= 0;
                     ++digits)
                    value = value * 16 + hexValue(m_text[m_pos++]);
                word.value += static_cast<char>(value);
            } else if (escape >= '0' && escape <= '7') {
                int value = escape - '0';
                for (int digits = 1;
                     digits < 3 && !atEnd() && m_text[m_pos] >= '0' && m_text[m_pos] <= '7';
                     ++digits)
                    value = value * 8 + (m_text[m_pos++] - '0');
                word.value += static_cast<char>(value);
            } else {
                word.value += escape;
            }
        }
        m_pos += atEnd() ? 0 : 1;
    }

    // The opening characters are consumed; reads up to and including the closer.
    void readSubstitution(Word& word, int depth, Closer closer, std::size_t begin) {
        // An empty substitution costs as much to keep as a command does.
        if (depth + 1 > m_maxDepth ||
            m_out.commands.size() + m_out.substitutions.size() >= m_maxCommands) {
            m_out.complete = false;
            m_stopped = true;
            return;
        }
        const std::size_t index = m_out.substitutions.size();
        m_out.substitutions.push_back({begin, 0, m_out.commands.size(), 0, depth + 1});
        readCommands(depth + 1, closer);
        Substitution& substitution = m_out.substitutions[index];
        substitution.end = std::min(m_pos, m_text.size());
        substitution.endCommand = m_out.commands.size();
        word.substitutions.push_back(index);
        word.literal = false;
        word.value.append(m_text.substr(begin, substitution.end - begin));
    }

    std::string_view m_text;
    int m_maxDepth;
    std::size_t m_maxCommands;
    std::size_t m_pos = 0;
    std::size_t m_nextPipeline = 0;
    bool m_stopped = false;
    Parse m_out;
};

} // namespace

Parse parse(std::string_view text, int maxDepth, std::size_t maxCommands) {
    return Parser(text, maxDepth, maxCommands).run();
}

} // namespace kelvane::ShellWords
