// Writes the documents that validate_v2_schema.py checks against schema/v2.json:
//   written-*.json   files of the version 2 writer, made from varied configurations;
//   rewritten-*.json the example configurations, loaded and written again;
//   authored-*.json  hand-written forms that the loader reads without a warning.
// Exits with 1 when an authored document does warn after all: the schema's acceptance of it
// would then prove nothing.
//
// Usage: kelvane_schema_samples <output folder> <examples folder>

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"
#include "tests/support/MenuNodes.hpp"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kelvane;
namespace fs = std::filesystem;
using Modifiers = KeyboardShortcut::Modifiers;
using test::group;
using test::separator;

struct Sample {
    std::string name;
    std::string content;
};

ShellCommand command(std::string title, std::string line) {
    return {Uuid::random(), std::move(title), std::move(line), std::nullopt,
            std::nullopt,   std::nullopt,     std::nullopt};
}

// Every combination of modifiers, each with a key that is awkward in its own way.
std::vector<MenuNode> shortcutCommands() {
    const std::string_view keys[] = {"k", ",", "\u00F6", "e\u0301", "1", "\u2318", "/", "\""};
    std::vector<MenuNode> nodes;
    for (int64_t bits = 1; bits < 16; ++bits) {
        ShellCommand entry =
            command("K\u00FCrzel " + std::to_string(bits), "echo " + std::to_string(bits));
        entry.shortcut =
            KeyboardShortcut{std::string(keys[bits % std::size(keys)]), Modifiers(bits)};
        nodes.push_back(MenuNode{std::move(entry)});
    }
    return nodes;
}

Configuration everything() {
    ShellCommand deploy = command("Ver\u00F6ffentlichen \u2014 \u201EProduktion\u201C",
                                  "rsync -az dist/ host:/srv/www/ && echo \"fertig\" \\\n done");
    deploy.icon = "paperplane";
    deploy.workingDirectory = "~/Projekte/a b/c";
    deploy.requiresConfirmation = true;
    ShellCommand reload = command("Nginx neu laden", "sudo systemctl reload nginx");
    reload.requiresConfirmation = false;
    reload.workingDirectory = "/";
    ShellCommand web = command("https://example.com/a/b", "open https://example.com/a/b?x=1&y=2");
    web.icon = "globe/../x";
    web.workingDirectory = "~";
    ShellCommand tabbed = command("\tTab\tim Titel ", " leading blank\tand tab");
    ShellCommand unicode = command("\u65E5\u672C\u8A9E \U0001F680", "printf '\\u00e9\\n'");
    unicode.icon = "\U0001F680";

    Configuration configuration;
    configuration.settings.openIn = OpenBehavior::tab;
    configuration.settings.editor = EditorSetting::terminalEditor("vim -p");
    configuration.settings.launchAtLogin = true;
    configuration.items = {
        separator(),
        MenuNode{deploy},
        group("Server",
              {group("Logs", {MenuNode{web}, separator(), group("Leer", {})}, "doc.plaintext"),
               MenuNode{reload}, group("Tiefer", {group("Noch tiefer", {MenuNode{tabbed}})})},
              "server.rack"),
        group("K\u00FCrzel", shortcutCommands(), "keyboard"),
        MenuNode{unicode},
        separator(),
        group("", {}),
        separator(),
    };
    return configuration;
}

std::vector<Sample> writtenSamples() {
    return {{"written-everything.json", ConfigMigrator::makeV2JSON(everything())},
            {"written-empty.json", ConfigMigrator::makeV2JSON({})}};
}

std::vector<Sample> rewrittenExamples(const fs::path& examples) {
    std::vector<Sample> samples;
    for (const char* name : {"kelvane", "shuttle"})
        for (const SortMode mode : allSortModes) {
            const Configuration loaded = ConfigurationLoader{mode, mode}.loadContentsOf(
                examples / (std::string(name) + ".json"));
            samples.push_back(
                {"rewritten-" + std::string(name) + "-" + std::string(rawValue(mode)) + ".json",
                 ConfigMigrator::makeV2JSON(loaded)});
        }
    return samples;
}

// Shortcut texts made of the pieces people write, in a fixed pseudo-random order; the ones the
// parser takes are the ones the schema must take too.
std::vector<std::string> acceptedShortcutTexts() {
    const std::string_view pieces[] = {
        "\u2318", "\u2325",  "\u2303",  "\u21E7", "+",     "+",      " ",
        "\t",     "cmd",     "CMD",     "Shift",  "alt",   "opt",    "Option",
        "ctrl",   "control", "command", "k",      "K",     "\u00F6", "e\u0301",
        ",",      "1",       "f1",      "delete", "hyper", "\u00A0", "\U0001F44D\U0001F3FD"};
    std::mt19937 random(20240601);
    std::vector<std::string> accepted;
    for (int attempt = 0; attempt < 20000; ++attempt) {
        std::string text;
        for (auto count = 1 + random() % 5; count > 0; --count)
            text += pieces[random() % std::size(pieces)];
        if (KeyboardShortcut::parsing(text))
            accepted.push_back(text);
    }
    return accepted;
}

std::string shortcutDocument() {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    writer.Key("items");
    writer.StartArray();
    for (const std::string& text : acceptedShortcutTexts()) {
        writer.StartObject();
        writer.Key("title");
        writer.String("t");
        writer.Key("command");
        writer.String("true");
        writer.Key("shortcut");
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
    return buffer.GetString();
}

std::vector<Sample> authoredSamples() {
    return {
        {"authored-default-file.json", "{\n  \"version\": 2,\n  \"items\": []\n}\n"},
        {"authored-without-version.json", R"({"items": [{"title": "a", "command": "a"}]})"},
        {"authored-lenient-forms.json", R"({
            "version": 2.0, "$schema": "https://tolvo.de/kelvane/schema/v2.json", "_note": 1,
            "settings": {"terminal": "Terminal", "openIn": "TAB", "editor": "DEFAULT",
                         "launchAtLogin": true, "_why": "x"},
            "items": [
                {"type": "Command", "title": " Mit Leerzeichen ", "command": " ls -la ",
                 "confirm": false, "_comment": "notes are allowed"},
                {"type": "SEPARATOR"},
                {"title": "Ohne Typ", "items": [{"title": "b", "command": "b"}]},
                {"type": "gRoUp", "title": "Ohne Eintr\u00E4ge"},
                {"title": "Mehrzeilig", "command": "\n"}
            ]})"},
        {"authored-settings-edges.json", R"({"settings": {"terminal": "", "openIn": "current",
            "editor": ""}, "items": [{"type": "group", "title": "G", "items": []}]})"},
        {"authored-terminal-app.json",
         R"({"settings": {"terminal": "TERMINAL.APP", "openIn": "Window", "editor": "code -w"},
            "items": []})"},
        {"authored-shortcuts.json", shortcutDocument()},
    };
}

bool loadsWithoutWarnings(const Sample& sample) {
    const Configuration configuration =
        ConfigurationLoader{SortMode::fileOrder, SortMode::fileOrder}.load(sample.content);
    for (const ConfigurationWarning& warning : configuration.warnings)
        std::cerr << sample.name << ": " << warning.message() << "\n";
    return configuration.warnings.empty() && configuration.format == ConfigurationFormat::v2;
}

void writeFile(const fs::path& path, std::string_view content) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream << content;
    if (!stream.flush())
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvane_schema_samples <output folder> <examples folder>\n";
        return 2;
    }
    try {
        const fs::path output = argv[1];
        fs::remove_all(output);
        fs::create_directories(output);

        const std::vector<Sample> authored = authoredSamples();
        bool authoredAreClean = true;
        for (const Sample& sample : authored)
            authoredAreClean = loadsWithoutWarnings(sample) && authoredAreClean;
        if (!authoredAreClean)
            return 1;

        std::vector<Sample> samples = writtenSamples();
        for (std::vector<Sample> more : {rewrittenExamples(argv[2]), authored})
            samples.insert(samples.end(), more.begin(), more.end());
        for (const Sample& sample : samples)
            writeFile(output / sample.name, sample.content);
        std::cout << samples.size() << " documents written to " << output.string() << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
