#include "KelvaneCore/Terminal/ShellQuoting.hpp"

namespace kelvane::ShellQuoting {

std::string singleQuoted(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    result.push_back('\'');
    for (char c : text) {
        // Inside single quotes nothing is special but the quote itself: close the word, add an
        // escaped quote, open the next word.
        if (c == '\'')
            result += "'\\''";
        else
            result.push_back(c);
    }
    result.push_back('\'');
    return result;
}

} // namespace kelvane::ShellQuoting
