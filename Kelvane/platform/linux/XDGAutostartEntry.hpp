#pragma once

#include "Kelvane/platform/LoginItemService.hpp"

#include <filesystem>
#include <string>

namespace kelvane {

/// The login item as a desktop entry in the user's XDG autostart folder: the entry starts the
/// program it was written by; "Hidden=true" in it, which desktops write to switch an entry off,
/// counts as not registered.
class XDGAutostartEntry final : public LoginItemService {
public:
    /// `entry` is the desktop file (…/autostart/kelvane.desktop); `executable` the absolute path
    /// the entry starts, empty when the running program's path is unknown.
    XDGAutostartEntry(std::filesystem::path entry, std::filesystem::path executable);

    Status status() const override;
    void registerItem() override;
    void unregisterItem() override;

    /// The entry's text.
    std::string content() const;

private:
    std::filesystem::path m_entry;
    std::filesystem::path m_executable;
};

/// `path` as the program of a desktop entry's Exec key: double-quoted, with the characters
/// that are special inside quotes, field codes and the string escapes of the format escaped.
std::string desktopEntryExecValue(const std::string& path);

} // namespace kelvane
