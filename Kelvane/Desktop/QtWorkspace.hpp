#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

namespace kelvane {

/// The desktop through Qt: the clipboard and the desktop's default applications. Revealing a
/// file selects it in the file manager where the desktop allows it, else opens its folder.
class QtWorkspace final : public Workspace {
public:
    void copyToPasteboard(const std::string& text) override;
    bool openURL(const std::string& url) override;
    bool openFile(const std::string& path) override;
    bool revealFile(const std::string& path) override;
};

} // namespace kelvane
