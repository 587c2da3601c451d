// Writes the documents that validate_v2_schema.py checks against schema/v2.json:
//   authored-*.json hand-written forms that the loader reads without a warning;
//   written-*.json  those forms and the example configurations, loaded and written again.
// Exits with 1 when an authored document does warn after all: the schema's acceptance of it
// would then prove nothing.
//
// Usage: kelvane_schema_samples <output folder> <examples folder>

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "KelvaneCore/Configuration/KeyboardShortcut.hpp"

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

struct Sample {
    std::string name;
    std::string content;
};

Configuration loaded(const std::string& content) {
    return ConfigurationLoader{SortMode::fileOrder, SortMode::fileOrder}.load(content);
}

std::vector<Sample> writtenExamples(const fs::path& examples) {
    std::vector<Sample> samples;
    for (const char* name : {"kelvane", "shuttle"})
        for (const SortMode mode : allSortModes) {
            const Configuration configuration = ConfigurationLoader{mode, mode}.loadContentsOf(
                examples / (std::string(name) + ".json"));
            samples.push_back(
                {"written-" + std::string(name) + "-" + std::string(rawValue(mode)) + ".json",
                 ConfigMigrator::makeV2JSON(configuration)});
        }
    return samples;
}

// Shortcut texts made of the pieces people write, in a fixed pseudo-random order; the ones the
// parser takes are the ones the schema must take too. Of the pieces only the tab needs an escape
// in JSON.
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
    std::string items;
    for (std::string text : acceptedShortcutTexts()) {
        for (auto tab = text.find('\t'); tab != std::string::npos; tab = text.find('\t', tab))
            text.replace(tab, 1, "\\t");
        items += (items.empty() ? "" : ",") +
                 std::string(R"({"title": "t", "command": "true", "shortcut": ")") + text + "\"}";
    }
    return R"({"items": [)" + items + "]}";
}

std::vector<Sample> authoredSamples() {
    return {
        {"authored-default-file.json", "{\n  \"version\": 2,\n  \"items\": []\n}\n"},
        {"authored-everything.json", R"({"version": 2,
            "settings": {"terminal": "terminal.app", "openIn": "tab", "editor": "vim -p",
                         "launchAtLogin": true},
            "items": [
                {"type": "separator"},
                {"title": "Ver\u00F6ffentlichen \u2014 \u201EProduktion\u201C", "icon": "paperplane",
                 "command": "rsync -az dist/ host:/srv/www/ && echo \"fertig\" \\\n done",
                 "workingDirectory": "~/Projekte/a b/c", "confirm": true},
                {"title": "Server", "icon": "server.rack", "items": [
                    {"title": "Logs", "icon": "doc.plaintext", "items": [
                        {"title": "https://example.com/a/b", "icon": "globe/../x",
                         "command": "open https://example.com/a/b?x=1&y=2", "workingDirectory": "~"},
                        {"type": "separator"},
                        {"title": "Leer", "items": []}]},
                    {"title": "Nginx neu laden", "command": "sudo systemctl reload nginx",
                     "workingDirectory": "/", "confirm": false, "shortcut": "\u2303\u2325/"},
                    {"title": "Tiefer", "items": [{"title": "Noch tiefer", "items": [
                        {"title": "Tab", "command": " leading blank\tand tab",
                         "shortcut": "\u2303\u2325\u21E7\u2318\""}]}]}]},
                {"title": "\u65E5\u672C\u8A9E \uD83D\uDE80", "icon": "\uD83D\uDE80",
                 "command": "printf '\\u00e9\\n'"},
                {"type": "separator"},
                {"type": "separator"}
            ]})"},
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
    const Configuration configuration = loaded(sample.content);
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

        std::vector<Sample> samples = writtenExamples(argv[2]);
        for (const Sample& sample : authored) {
            samples.push_back(sample);
            samples.push_back(
                {"written-" + sample.name.substr(std::string_view("authored-").size()),
                 ConfigMigrator::makeV2JSON(loaded(sample.content))});
        }
        for (const Sample& sample : samples)
            writeFile(output / sample.name, sample.content);
        std::cout << samples.size() << " documents written to " << output.string() << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
