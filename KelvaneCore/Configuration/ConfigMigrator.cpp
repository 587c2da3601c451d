#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <system_error>

namespace kelvane::ConfigMigrator {
namespace {

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void writeString(Writer& writer, std::string_view text) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void writeMember(Writer& writer, std::string_view key, std::string_view value) {
    writeString(writer, key);
    writeString(writer, value);
}

void writeOptionalMember(Writer& writer, std::string_view key,
                         const std::optional<std::string>& value) {
    if (value)
        writeMember(writer, key, *value);
}

void writeNodes(Writer& writer, const std::vector<MenuNode>& nodes);

void writeNode(Writer& writer, const MenuNode& node) {
    writer.StartObject();
    if (const ShellCommand* command = node.command()) {
        writeMember(writer, "type", "command");
        writeMember(writer, "title", command->title);
        writeOptionalMember(writer, "icon", command->icon);
        writeMember(writer, "command", command->command);
        if (command->shortcut)
            writeMember(writer, "shortcut", command->shortcut->symbolText());
        writeOptionalMember(writer, "workingDirectory", command->workingDirectory);
        if (command->requiresConfirmation) {
            writeString(writer, "confirm");
            writer.Bool(*command->requiresConfirmation);
        }
    } else if (const CommandGroup* group = node.group()) {
        writeMember(writer, "type", "group");
        writeMember(writer, "title", group->title);
        writeOptionalMember(writer, "icon", group->icon);
        writeString(writer, "items");
        writeNodes(writer, group->items);
    } else {
        writeMember(writer, "type", "separator");
    }
    writer.EndObject();
}

void writeNodes(Writer& writer, const std::vector<MenuNode>& nodes) {
    writer.StartArray();
    for (const MenuNode& node : nodes)
        writeNode(writer, node);
    writer.EndArray();
}

std::string_view editorText(const EditorSetting& editor) {
    return editor.kind == EditorSetting::Kind::system ? "default" : editor.command;
}

} // namespace

std::string makeV2JSON(const Configuration& configuration) {
    rapidjson::StringBuffer buffer;
    Writer writer(buffer);
    writer.SetIndent(' ', 2);
    writer.StartObject();
    writeMember(writer, "$schema", schemaURL);
    writeString(writer, "version");
    writer.Int(2);
    writeString(writer, "settings");
    writer.StartObject();
    writeMember(writer, "terminal", rawValue(configuration.settings.terminal));
    writeMember(writer, "openIn", rawValue(configuration.settings.openIn));
    writeMember(writer, "editor", editorText(configuration.settings.editor));
    writer.EndObject();
    writeString(writer, "items");
    writeNodes(writer, configuration.items);
    writer.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

void migrateInPlace(const std::filesystem::path& path, const Configuration& configuration) {
    std::filesystem::path backup = path;
    backup += ".backup";

    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(backup, error)) &&
        !std::filesystem::remove(backup, error))
        throw FileError(FileError::Operation::remove, backup.string(),
                        describeSystemError(error.value()));

    FileAccess::writeAtomically(backup, FileAccess::readRegularFile(path));
    FileAccess::writeAtomically(path, makeV2JSON(configuration));
}

} // namespace kelvane::ConfigMigrator
