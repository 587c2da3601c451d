#include "Kelvane/Settings/SettingsView.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/Settings/AdvancedPane.hpp"
#include "Kelvane/Settings/GeneralPane.hpp"
#include "Kelvane/Settings/TerminalPane.hpp"

#include <algorithm>

namespace kelvane {

SettingsView::SettingsView(SettingsDependencies dependencies, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName("settingsTabs");
    setDocumentMode(true);
    auto* general = new GeneralPane(dependencies.preferences, dependencies.store,
                                    std::move(dependencies.onHotKeyChange), dependencies.hotKeys,
                                    dependencies.launchAtLogin,
                                    DesktopOpener(dependencies.workspace, dependencies.dialogs),
                                    std::move(dependencies.chooseFile));
    general->setObjectName("generalPane");
    auto* terminal = new TerminalPane(dependencies.preferences, dependencies.store);
    terminal->setObjectName("terminalPane");
    auto* advanced =
        new AdvancedPane(dependencies.preferences, dependencies.store, dependencies.dialogs);
    advanced->setObjectName("advancedPane");
    addTab(general, symbolIcon("gearshape"), QString::fromUtf8("Allgemein"));
    addTab(terminal, symbolIcon("terminal"), QString::fromUtf8("Terminal"));
    addTab(advanced, symbolIcon("slider.horizontal.3"), QString::fromUtf8("Erweitert"));
}

QSize SettingsView::sizeHint() const {
    // Wrapped captions are as tall as the width they get, so the height is taken at the width
    // the window will have: every pane then shows all of its rows without scrolling.
    const int width = std::max(leastSize.width(), minimumSizeHint().width());
    return {width, std::max(leastSize.height(), heightForWidth(width))};
}

} // namespace kelvane
