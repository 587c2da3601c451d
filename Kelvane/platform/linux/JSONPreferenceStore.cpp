#include "Kelvane/platform/linux/JSONPreferenceStore.hpp"

#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PrivateFolder.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/StrictJSON.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace kelvane {
namespace {

// Bytes are kept as an array of numbers inside an object, so they cannot be mistaken for text.
constexpr const char* bytesKey = "bytes";

std::optional<PreferenceValue> decode(const rapidjson::Value& value) {
    if (value.IsBool())
        return value.GetBool();
    if (value.IsInt64())
        return value.GetInt64();
    if (value.IsString())
        return std::string(value.GetString(), value.GetStringLength());
    if (value.IsObject() && value.HasMember(bytesKey) && value[bytesKey].IsArray()) {
        std::vector<uint8_t> bytes;
        for (const rapidjson::Value& byte : value[bytesKey].GetArray())
            if (byte.IsUint() && byte.GetUint() < 256)
                bytes.push_back(static_cast<uint8_t>(byte.GetUint()));
        return bytes;
    }
    return std::nullopt;
}

void encode(rapidjson::PrettyWriter<rapidjson::StringBuffer>& writer,
            const PreferenceValue& value) {
    if (const bool* flag = std::get_if<bool>(&value)) {
        writer.Bool(*flag);
    } else if (const int64_t* number = std::get_if<int64_t>(&value)) {
        writer.Int64(*number);
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
        writer.String(text->data(), static_cast<rapidjson::SizeType>(text->size()));
    } else {
        writer.StartObject();
        writer.Key(bytesKey);
        writer.StartArray();
        for (const uint8_t byte : std::get<std::vector<uint8_t>>(value))
            writer.Uint(byte);
        writer.EndArray();
        writer.EndObject();
    }
}

} // namespace

JSONPreferenceStore::JSONPreferenceStore(std::filesystem::path file) : m_file(std::move(file)) {
    // The folder is made now rather than at the first write, which may come while the folder
    // around it is being watched.
    try {
        createPrivateFolder(m_file.parent_path());
    } catch (const FileError& error) {
        Log::error("app",
                   std::string("Einstellungen konnten nicht gesichert werden: ") + error.what());
    }
    std::error_code ignored;
    if (!std::filesystem::exists(m_file, ignored))
        return;
    try {
        const rapidjson::Document document = StrictJSON::parse(FileAccess::readRegularFile(m_file));
        if (!document.IsObject())
            return;
        for (const auto& member : document.GetObject())
            if (auto decoded = decode(member.value))
                m_values.emplace(
                    std::string(member.name.GetString(), member.name.GetStringLength()),
                    std::move(*decoded));
    } catch (const std::exception& error) {
        Log::error("app",
                   std::string("Einstellungen konnten nicht gelesen werden: ") + error.what());
    }
}

std::optional<PreferenceValue> JSONPreferenceStore::value(const std::string& key) const {
    const auto found = m_values.find(key);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

void JSONPreferenceStore::setValue(const std::string& key, PreferenceValue value) {
    m_values[key] = std::move(value);
    save();
}

void JSONPreferenceStore::removeValue(const std::string& key) {
    if (m_values.erase(key) > 0)
        save();
}

void JSONPreferenceStore::save() const {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 2);
    writer.StartObject();
    for (const auto& [key, value] : m_values) {
        writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        encode(writer, value);
    }
    writer.EndObject();
    try {
        FileAccess::writeAtomically(m_file,
                                    std::string(buffer.GetString(), buffer.GetSize()) + "\n");
    } catch (const std::exception& error) {
        Log::error("app",
                   std::string("Einstellungen konnten nicht gesichert werden: ") + error.what());
    }
}

} // namespace kelvane
