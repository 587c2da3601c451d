#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>

namespace kelvane::test {

/// One way an editor or a tool puts new content in place of a file. `between` runs between the
/// steps of a save, so a test can let a watcher see each step on its own.
struct EditorSave {
    const char* name;
    std::function<void(const std::filesystem::path& file, std::string_view content,
                       const std::function<void()>& between)>
        save;
};

inline void writeFile(const std::filesystem::path& file, std::string_view content) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

inline std::filesystem::path withSuffix(const std::filesystem::path& file, const char* suffix) {
    return std::filesystem::path(file.string() + suffix);
}

inline const EditorSave editorSaves[] = {
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
};

} // namespace kelvane::test
