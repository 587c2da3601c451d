#include "KelvaneCore/Terminal/AppleScriptLiteral.hpp"

namespace kelvane::AppleScriptLiteral {

std::string escape(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '"':
            result += "\\\"";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result.push_back(c);
        }
    }
    return result;
}

std::string quoted(std::string_view text) {
    return '"' + escape(text) + '"';
}

} // namespace kelvane::AppleScriptLiteral
