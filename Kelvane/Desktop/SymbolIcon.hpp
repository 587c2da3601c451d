#pragma once

#include <QIcon>

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

/// A system symbol name as configurations and the application name them, and the desktop
/// theme's icon names that stand for it, the nearest first.
struct SymbolThemeNames {
    std::string_view symbolName;
    std::vector<std::string_view> themeNames;
};

/// Every symbol name that has theme icons of its own.
const std::vector<SymbolThemeNames>& symbolThemeNames();

/// The desktop theme's icon for a system symbol name: the first of its theme names the theme
/// has, else a look-alike from the widget style where there is one; a name the theme knows is
/// taken as it is; null for any other name.
QIcon symbolIcon(const std::string& symbolName);

} // namespace kelvane
