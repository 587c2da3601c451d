#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvane::test {

/// One way an editor or a tool puts new content in place of a file. `between` runs between the
/// steps of a save, so a test can let a watcher see each step on its own.
struct EditorSave {
    const char* name;
    std::function<void(const std::filesystem::path& file, std::string_view content,
                       const std::function<void()>& between)>
        save;
    /// The program the save runs, empty when it runs none.
    const char* program = "";
};

inline void writeFile(const std::filesystem::path& file, std::string_view content) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

inline std::filesystem::path withSuffix(const std::filesystem::path& file, const char* suffix) {
    return std::filesystem::path(file.string() + suffix);
}

// Lets a shell tool read the content from a file beside the configuration file.
inline std::string stagedForTool(const std::filesystem::path& file, std::string_view content) {
    const std::filesystem::path staged = file.parent_path() / "staged.input";
    writeFile(staged, content);
    return staged.string();
}

inline const EditorSave editorSaves[] = {
    {"inPlace",
     [](const auto& file, auto content, const auto&) {
         writeFile(file, content);
     }},
    {"renameOver",
     [](const auto& file, auto content, const auto& between) {
         writeFile(withSuffix(file, ".tmp"), content);
         between();
         std::filesystem::rename(withSuffix(file, ".tmp"), file);
     }},
    // vim and emacs: the old file moves aside, the new one is written, the backup goes.
    {"renameAwayFirst",
     [](const auto& file, auto content, const auto& between) {
         std::filesystem::rename(file, withSuffix(file, "~"));
         between();
         writeFile(file, content);
         between();
         std::filesystem::remove(withSuffix(file, "~"));
     }},
    {"jetBrains",
     [](const auto& file, auto content, const auto& between) {
         writeFile(withSuffix(file, "___jb_tmp___"), content);
         between();
         std::filesystem::rename(file, withSuffix(file, "___jb_old___"));
         between();
         std::filesystem::rename(withSuffix(file, "___jb_tmp___"), file);
         between();
         std::filesystem::remove(withSuffix(file, "___jb_old___"));
     }},
    {"deleteAndRecreate",
     [](const auto& file, auto content, const auto& between) {
         std::filesystem::remove(file);
         between();
         writeFile(file, content);
     }},
    {"sedInPlace",
     [](const auto& file, auto content, const auto&) {
         const std::string command =
             "sed -i -e '$r " + stagedForTool(file, content) + "' -e d '" + file.string() + "'";
         if (std::system(command.c_str()) != 0)
             throw std::runtime_error(command);
     },
     "sed"},
    // Backups are skipped below /tmp unless told otherwise.
    {"vim",
     [](const auto& file, auto content, const auto&) {
         const std::string command =
             "vim -u NONE -i NONE -N -es -c 'set backupcopy=no writebackup backupskip=' "
             "-c '%d _' -c '0r " +
             stagedForTool(file, content) + "' -c wq '" + file.string() + "'";
         if (std::system(command.c_str()) != 0)
             throw std::runtime_error(command);
     },
     "vim"},
};

/// Whether `program` can be run; an empty name needs nothing.
inline bool isAvailable(const char* program) {
    return *program == '\0' ||
           std::system(("command -v " + std::string(program) + " >/dev/null").c_str()) == 0;
}

} // namespace kelvane::test
