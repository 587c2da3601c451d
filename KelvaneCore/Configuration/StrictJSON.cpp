#include "KelvaneCore/Configuration/StrictJSON.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"

#include <rapidjson/reader.h>

#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace kelvane::StrictJSON {
namespace {

using rapidjson::SizeType;

// Builds the document from the parser's events and stops the parse when nesting gets too deep.
class DepthLimitedBuilder {
public:
    explicit DepthLimitedBuilder(rapidjson::Document& document) : m_document(document) {}

    bool Null() { return m_document.Null(); }
    bool Bool(bool value) { return m_document.Bool(value); }
    bool Int(int value) { return m_document.Int(value); }
    bool Uint(unsigned value) { return m_document.Uint(value); }
    bool Int64(int64_t value) { return m_document.Int64(value); }
    bool Uint64(uint64_t value) { return m_document.Uint64(value); }
    bool Double(double value) { return m_document.Double(value); }
    bool RawNumber(const char* text, SizeType length, bool copy) {
        return m_document.RawNumber(text, length, copy);
    }
    bool String(const char* text, SizeType length, bool copy) {
        return m_document.String(text, length, copy);
    }
    bool Key(const char* text, SizeType length, bool copy) {
        return m_document.Key(text, length, copy);
    }
    bool StartObject() { return enter() && m_document.StartObject(); }
    bool EndObject(SizeType memberCount) {
        --m_depth;
        return m_document.EndObject(memberCount);
    }
    bool StartArray() { return enter() && m_document.StartArray(); }
    bool EndArray(SizeType elementCount) {
        --m_depth;
        return m_document.EndArray(elementCount);
    }

private:
    bool enter() { return ++m_depth <= maximumNestingDepth; }

    rapidjson::Document& m_document;
    int m_depth = 0;
};

const char* germanMessage(rapidjson::ParseErrorCode code) {
    switch (code) {
    case rapidjson::kParseErrorDocumentEmpty:
        return "Die Datei enth\u00E4lt keinen JSON-Wert.";
    case rapidjson::kParseErrorDocumentRootNotSingular:
        return "Nach dem JSON-Wert folgen weitere Zeichen.";
    case rapidjson::kParseErrorValueInvalid:
        return "Ung\u00FCltiger Wert.";
    case rapidjson::kParseErrorObjectMissName:
        return "Hier wird ein Schl\u00FCssel in Anf\u00FChrungszeichen erwartet.";
    case rapidjson::kParseErrorObjectMissColon:
        return "Nach dem Schl\u00FCssel fehlt ein Doppelpunkt.";
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
        return "Im Objekt fehlt ein Komma oder eine schlie\u00DFende geschweifte Klammer.";
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
        return "In der Liste fehlt ein Komma oder eine schlie\u00DFende eckige Klammer.";
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
        return "Ung\u00FCltige Unicode-Escape-Sequenz im Text.";
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
        return "Ein Unicode-Ersatzzeichen im Text steht ohne Partner: Auf \\uD800 bis \\uDBFF "
               "muss unmittelbar \\uDC00 bis \\uDFFF folgen.";
    case rapidjson::kParseErrorStringEscapeInvalid:
        return "Ung\u00FCltige Escape-Sequenz im Text.";
    case rapidjson::kParseErrorStringMissQuotationMark:
        return "Ein Text ist nicht mit einem Anf\u00FChrungszeichen abgeschlossen.";
    case rapidjson::kParseErrorNumberTooBig:
        return "Die Zahl ist zu gro\u00DF.";
    case rapidjson::kParseErrorNumberMissFraction:
        return "Nach dem Dezimalpunkt fehlen Ziffern.";
    case rapidjson::kParseErrorNumberMissExponent:
        return "Im Exponenten fehlen Ziffern.";
    case rapidjson::kParseErrorTermination:
        return "Die Daten sind zu tief verschachtelt.";
    default:
        return "Syntaxfehler.";
    }
}

bool isLineBreakAt(std::string_view text, std::size_t i) {
    // A lone carriage return ends a line too; in CR LF only the line feed counts.
    return text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'));
}

[[noreturn]] void fail(std::string_view text, std::size_t offset, std::string message) {
    throw ConfigurationError(
        ConfigurationError::InvalidJSON{std::move(message), locationOf(text, offset)});
}

bool isJSONWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The parser takes a raw control character in a text for a bad escape, and a NUL for the end of
// the data; either way it reports the character's own position.
bool isRawControlCharacter(rapidjson::ParseErrorCode code, std::string_view source,
                           std::size_t offset) {
    return (code == rapidjson::kParseErrorStringEscapeInvalid ||
            code == rapidjson::kParseErrorStringMissQuotationMark) &&
           offset < source.size() && static_cast<unsigned char>(source[offset]) < 0x20;
}

std::string controlCharacterMessage(unsigned char byte) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    const std::string code = {'0', '0', hexDigits[byte >> 4], hexDigits[byte & 0xF]};
    return "Ein Text enth\u00E4lt das Steuerzeichen U+" + code +
           ", das maskiert werden muss (als \\u" + code + ").";
}

std::string messageFor(rapidjson::ParseErrorCode code, std::string_view source,
                       std::size_t offset) {
    if (isRawControlCharacter(code, source, offset))
        return controlCharacterMessage(static_cast<unsigned char>(source[offset]));
    return germanMessage(code);
}

constexpr std::size_t nowhere = std::string_view::npos;

// The UTF-16 code unit written as four hexadecimal digits at `offset`.
std::optional<unsigned> codeUnitAt(std::string_view text, std::size_t offset) {
    if (offset + 4 > text.size())
        return std::nullopt;
    unsigned unit = 0;
    const char* const end = text.data() + offset + 4;
    const auto [stop, error] = std::from_chars(text.data() + offset, end, unit, 16);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return unit;
}

// Where the first escape of a low surrogate (\uDC00 to \uDFFF) stands that does not follow the
// escape of a high one, or nowhere. The parser would decode it into bytes that are not UTF-8.
// Every backslash is taken to begin an escape, which holds for all of the text the parser accepts.
std::size_t firstLoneLowSurrogate(std::string_view text) {
    std::size_t at = text.find('\\');
    while (at != nowhere) {
        std::size_t next = at + 2;
        if (at + 1 < text.size() && text[at + 1] == 'u') {
            const std::optional<unsigned> unit = codeUnitAt(text, at + 2);
            if (unit && *unit >= 0xDC00 && *unit <= 0xDFFF)
                return at;
            // A high surrogate is passed together with the escape after it, which the parser
            // requires to be its low partner.
            next = unit && *unit >= 0xD800 && *unit <= 0xDBFF ? at + 12 : at + 6;
        }
        at = text.find('\\', next);
    }
    return nowhere;
}

} // namespace

ConfigurationError::SourceLocation locationOf(std::string_view text, std::size_t offset) {
    int64_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (isLineBreakAt(text, i)) {
            ++line;
            lineStart = i + 1;
        }
    }
    int64_t column = 1;
    for (std::size_t i = lineStart; i < offset && i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ++column;
    return {line, column};
}

namespace {

constexpr unsigned baseFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseStopWhenDoneFlag;

// `text` is null-terminated; `source` has the same line structure and serves for locations.
template <unsigned flags, typename Stream>
rapidjson::Document parseStream(Stream& stream, std::string_view text, std::string_view source) {
    // Looked for before the parse, which may rewrite `text`.
    const std::size_t loneSurrogate = firstLoneLowSurrogate(text);

    rapidjson::ParseResult result;
    auto generate = [&](rapidjson::Document& document) {
        DepthLimitedBuilder builder(document);
        rapidjson::Reader reader;
        result = reader.Parse<flags>(stream, builder);
        return !result.IsError();
    };
    rapidjson::Document document;
    document.Populate(generate);

    std::size_t errorOffset = nowhere;
    rapidjson::ParseErrorCode errorCode = result.Code();
    if (result.IsError()) {
        errorOffset = result.Offset();
    } else {
        // The parser stops after the value; what follows must be white space only. Checking the
        // rest here also catches a NUL byte, which the parser's stream takes for the end.
        std::size_t rest = stream.Tell();
        while (rest < text.size() && isJSONWhitespace(text[rest]))
            ++rest;
        if (rest < text.size()) {
            errorOffset = rest;
            errorCode = rapidjson::kParseErrorDocumentRootNotSingular;
        }
    }
    if (loneSurrogate < errorOffset)
        fail(source, loneSurrogate,
             germanMessage(rapidjson::kParseErrorStringUnicodeSurrogateInvalid));
    if (errorOffset != nowhere)
        fail(source, errorOffset, messageFor(errorCode, source, errorOffset));
    return document;
}

} // namespace

rapidjson::Document parse(std::string_view text) {
    const std::string terminated(text);
    rapidjson::StringStream stream(terminated.c_str());
    return parseStream<baseFlags>(stream, terminated, text);
}

rapidjson::Document parseInPlace(std::string& text, std::string_view source) {
    rapidjson::InsituStringStream stream(text.data());
    return parseStream<baseFlags | rapidjson::kParseInsituFlag>(stream, text, source);
}

} // namespace kelvane::StrictJSON
