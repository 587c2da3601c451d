#include "Kelvane/platform/linux/JSONPreferenceStore.hpp"

#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PrivateFolder.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/StrictJSON.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <QFile>
#include <QLockFile>

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace kelvane {
namespace fs = std::filesystem;
namespace {

// Bytes are kept as an array of numbers inside an object, so they cannot be mistaken for text.
constexpr const char* bytesKey = "bytes";

// Writes take milliseconds; a writer that holds the lock longer is stuck, and waiting for it
// must not freeze the menu.
constexpr int lockTimeoutMilliseconds = 2000;

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

rapidjson::Value encode(const PreferenceValue& value, rapidjson::Document::AllocatorType& memory) {
    if (const bool* flag = std::get_if<bool>(&value))
        return rapidjson::Value(*flag);
    if (const int64_t* number = std::get_if<int64_t>(&value))
        return rapidjson::Value(*number);
    if (const std::string* text = std::get_if<std::string>(&value))
        return rapidjson::Value(text->data(), static_cast<rapidjson::SizeType>(text->size()),
                                memory);
    rapidjson::Value bytes(rapidjson::kArrayType);
    for (const uint8_t byte : std::get<std::vector<uint8_t>>(value))
        bytes.PushBack(rapidjson::Value(static_cast<unsigned>(byte)), memory);
    rapidjson::Value wrapped(rapidjson::kObjectType);
    wrapped.AddMember(rapidjson::StringRef(bytesKey), bytes, memory);
    return wrapped;
}

bool isNamed(const rapidjson::Value& name, const std::string& key) {
    return std::string_view(name.GetString(), name.GetStringLength()) == key;
}

// The file's members; why it has none when it exists but does not parse as an object.
struct Reading {
    rapidjson::Document members;
    std::optional<std::string> fault;
};

// A missing or empty file holds no preferences yet. Throws `FileError` when the file exists but
// cannot be read.
Reading readMembers(const fs::path& file) {
    Reading reading;
    reading.members.SetObject();
    std::error_code missing;
    if (!fs::exists(file, missing))
        return reading;
    const std::string text = FileAccess::readRegularFile(file);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return reading;
    try {
        rapidjson::Document parsed = StrictJSON::parse(text);
        if (parsed.IsObject())
            reading.members = std::move(parsed);
        else
            reading.fault = "Die Datei enth\u00E4lt kein JSON-Objekt.";
    } catch (const ConfigurationError& error) {
        reading.fault = error.what();
    }
    return reading;
}

// Moves the broken file out of the way under a name of its own, so that neither this nor an
// earlier broken file is lost. False when it is still in the way.
bool setAside(const fs::path& file, const std::string& fault) {
    fs::path aside = file.string() + ".broken";
    std::error_code error;
    for (int number = 2; fs::exists(aside, error); ++number)
        aside = file.string() + ".broken-" + std::to_string(number);
    fs::rename(file, aside, error);
    if (error) {
        Log::error("app", "Fehlerhafte Einstellungen " + germanQuoted(file.string()) +
                              " konnten nicht beiseitegelegt werden: " +
                              describeSystemError(error.value()));
        return false;
    }
    Log::error("app", "Einstellungen fehlerhaft, beiseitegelegt als " +
                          germanQuoted(aside.string()) + ": " + fault);
    return true;
}

// The lock every writer of the file takes, beside the file.
class WriterLock {
public:
    explicit WriterLock(const fs::path& file)
        : m_lock(QFile::decodeName((file.string() + ".lock").c_str())),
          m_held(m_lock.tryLock(lockTimeoutMilliseconds)) {}

    bool isHeld() const { return m_held; }
    std::string path() const { return QFile::encodeName(m_lock.fileName()).toStdString(); }

private:
    QLockFile m_lock;
    bool m_held;
};

// The members of a file that parses; a broken one is set aside, under the lock, so that a
// writer that replaces it meanwhile is not taken for it.
rapidjson::Document currentMembers(const fs::path& file) {
    Reading reading = readMembers(file);
    if (!reading.fault)
        return std::move(reading.members);
    const WriterLock lock(file);
    if (!lock.isHeld())
        return std::move(reading.members);
    reading = readMembers(file);
    if (reading.fault)
        setAside(file, *reading.fault);
    return std::move(reading.members);
}

void saveFailed(const std::string& reason) {
    Log::error("app", "Einstellungen konnten nicht gesichert werden: " + reason);
}

} // namespace

JSONPreferenceStore::JSONPreferenceStore(std::filesystem::path file) : m_file(std::move(file)) {
    // Made now rather than at the first write, which may come while the folder around it is
    // being watched.
    try {
        createPrivateFolder(m_file.parent_path());
    } catch (const FileError& error) {
        saveFailed(error.what());
    }
}

std::optional<PreferenceValue> JSONPreferenceStore::value(const std::string& key) const {
    rapidjson::Document members;
    try {
        members = currentMembers(m_file);
    } catch (const FileError& error) {
        Log::error("app",
                   std::string("Einstellungen konnten nicht gelesen werden: ") + error.what());
        return std::nullopt;
    }
    // Of repeated names the last one counts, as in the configuration file.
    std::optional<PreferenceValue> found;
    for (const auto& member : members.GetObject())
        if (isNamed(member.name, key))
            found = decode(member.value);
    return found;
}

void JSONPreferenceStore::setValue(const std::string& key, PreferenceValue value) {
    update(key, std::move(value));
}

void JSONPreferenceStore::removeValue(const std::string& key) {
    update(key, std::nullopt);
}

void JSONPreferenceStore::update(const std::string& key,
                                 const std::optional<PreferenceValue>& value) {
    const WriterLock lock(m_file);
    if (!lock.isHeld())
        return saveFailed("Die Sperre " + germanQuoted(lock.path()) + " ist belegt.");
    try {
        Reading reading = readMembers(m_file);
        if (reading.fault && !setAside(m_file, *reading.fault))
            return;
        rapidjson::Document& members = reading.members;
        auto& memory = members.GetAllocator();
        bool placed = false;
        bool erased = false;
        for (auto member = members.MemberBegin(); member != members.MemberEnd();) {
            if (!isNamed(member->name, key)) {
                ++member;
            } else if (value && !placed) {
                member->value = encode(*value, memory);
                placed = true;
                ++member;
            } else {
                member = members.EraseMember(member);
                erased = true;
            }
        }
        if (!value && !erased)
            return;
        if (value && !placed)
            members.AddMember(
                rapidjson::Value(key.data(), static_cast<rapidjson::SizeType>(key.size()), memory),
                encode(*value, memory), memory);

        rapidjson::StringBuffer buffer;
        rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
        writer.SetIndent(' ', 2);
        members.Accept(writer);
        FileAccess::writeAtomically(m_file,
                                    std::string(buffer.GetString(), buffer.GetSize()) + "\n");
    } catch (const FileError& error) {
        saveFailed(error.what());
    }
}

} // namespace kelvane
