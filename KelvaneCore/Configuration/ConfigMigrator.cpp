#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Files/FileError.hpp"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <system_error>

namespace kelvane::ConfigMigrator {
namespace {

namespace fs = std::filesystem;

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
    if (editor.kind == EditorSetting::Kind::system)
        return "default";
    return editor.command;
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

fs::path backupPath(const fs::path& path) {
    return path.parent_path() / FileAccess::nameWithSuffix(path.filename().string(), ".backup");
}

void migrateInPlace(const fs::path& path, const Configuration& configuration,
                    std::string_view loadedBytes,
                    const std::function<void()>& beforeEachComparison) {
    const auto failUnlessUnchanged = [&] {
        if (beforeEachComparison)
            beforeEachComparison();
        if (FileAccess::readRegularFile(path) != loadedBytes)
            throw FileError(FileError::Operation::write, path.string(),
                            "Die Datei wurde w\u00E4hrend der Migration ge\u00E4ndert \u2014 sie "
                            "bleibt, wie sie gespeichert wurde. Bitte erneut migrieren.");
    };
    // Checking first also means a missing or unreadable file changes nothing, not even an old
    // backup.
    failUnlessUnchanged();

    const fs::path backup = backupPath(path);
    // A regular old backup is replaced by the rename of the new one, so it survives a failed
    // copy; anything else there (a link, an empty folder) is removed as it stands.
    std::error_code error;
    const fs::file_status backupStatus = fs::symlink_status(backup, error);
    if (fs::exists(backupStatus) && !fs::is_regular_file(backupStatus) &&
        !fs::remove(backup, error))
        throw FileError(FileError::Operation::remove, backup.string(),
                        describeSystemError(error.value()));

    FileAccess::writeAtomically(backup, loadedBytes, failUnlessUnchanged);
    FileAccess::writeAtomically(path, makeV2JSON(configuration), failUnlessUnchanged);
}

void migrateInPlace(const fs::path& path, const Configuration& configuration) {
    migrateInPlace(path, configuration, FileAccess::readRegularFile(path));
}

} // namespace kelvane::ConfigMigrator
