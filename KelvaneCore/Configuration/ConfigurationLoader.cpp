#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include "KelvaneCore/Configuration/ConfigurationReaders.hpp"
#include "KelvaneCore/Configuration/LenientJSON.hpp"
#include "KelvaneCore/Configuration/ReaderSupport.hpp"
#include "KelvaneCore/Configuration/StrictJSON.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <cmath>

namespace kelvane {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::optional<int64_t> integerValue(const rapidjson::Value& value) {
    if (value.IsInt64())
        return value.GetInt64();
    if (value.IsUint64())
        return INT64_MAX;
    if (value.IsDouble()) {
        const double number = value.GetDouble();
        // Only numbers with an exact integer value count, as 2.0 does and 2.5 does not.
        if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 9.0e18)
            return static_cast<int64_t>(number);
    }
    return std::nullopt;
}

bool isVersion2(const rapidjson::Value& root) {
    if (!root.IsObject())
        return false;
    if (const auto version = root.FindMember("version"); version != root.MemberEnd())
        if (const auto number = integerValue(version->value))
            return *number > 1;
    return root.HasMember("items") && !root.HasMember("cmds");
}

[[noreturn]] void failInvalidUTF8(std::string_view data, std::size_t offset) {
    throw ConfigurationError(ConfigurationError::InvalidJSON{
        "Die Datei enth\u00E4lt ung\u00FCltiges UTF-8.", StrictJSON::locationOf(data, offset)});
}

} // namespace

std::string ConfigurationLoader::readContents(const std::filesystem::path& path) {
    try {
        return FileAccess::readRegularFile(path);
    } catch (const FileError& error) {
        throw ConfigurationError(ConfigurationError::Unreadable{path.string(), error.reason()});
    }
}

Configuration ConfigurationLoader::loadContentsOf(const std::filesystem::path& path) const {
    return withoutAllocationFailures([&] { return load(readContents(path)); });
}

Configuration ConfigurationLoader::load(std::string_view data) const {
    return withoutAllocationFailures([&] { return loadText(data); });
}

Configuration ConfigurationLoader::loadText(std::string_view data) const {
    if (data.starts_with(byteOrderMark))
        data.remove_prefix(byteOrderMark.size());
    if (const auto offset = Unicode::firstInvalidUTF8Offset(data))
        failInvalidUTF8(data, *offset);

    std::string normalized = LenientJSON::normalize(data);
    rapidjson::Document root = StrictJSON::parseInPlace(normalized, data);
    // Members of the top level tell the format, so its repeated names are settled first.
    ReaderSupport::WarningList warnings;
    if (root.IsObject())
        ReaderSupport::keepLastOfRepeatedMembers(root, "", "", warnings);
    Configuration configuration = isVersion2(root)
                                      ? ConfigurationReaders::readV2(root, v2SortMode)
                                      : ConfigurationReaders::readLegacy(root, legacySortMode);
    warnings.append(std::move(configuration.warnings));
    configuration.warnings = warnings.take();
    return configuration;
}

} // namespace kelvane
