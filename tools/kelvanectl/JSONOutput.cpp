#include "JSONOutput.hpp"

#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace kelvane::ctl::JSONOutput {

rapidjson::Value text(std::string_view value, Allocator& allocator) {
    const std::string repaired = Unicode::repairedUTF8(value);
    return rapidjson::Value(repaired.data(), static_cast<rapidjson::SizeType>(repaired.size()),
                            allocator);
}

void addText(rapidjson::Value& object, std::string_view key, std::string_view value,
             Allocator& allocator) {
    object.AddMember(text(key, allocator), text(value, allocator), allocator);
}

void print(std::ostream& out, const rapidjson::Value& document) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 2);
    document.Accept(writer);
    out.write(buffer.GetString(), static_cast<std::streamsize>(buffer.GetSize()));
    out << '\n';
}

} // namespace kelvane::ctl::JSONOutput
