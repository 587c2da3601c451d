#include "Kelvane/Settings/SettingsView.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/Settings/AdvancedPane.hpp"
#include "Kelvane/Settings/GeneralPane.hpp"
#include "Kelvane/Settings/TerminalPane.hpp"

#include <QScrollArea>

namespace kelvane {
namespace {

// Scrolls a pane that is taller than the fixed window, as a grouped form does on macOS.
QScrollArea* scrolling(QWidget* pane) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(pane);
    return area;
}

} // namespace

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
    addTab(scrolling(general), symbolIcon("gearshape"), QString::fromUtf8("Allgemein"));
    addTab(scrolling(terminal), symbolIcon("terminal"), QString::fromUtf8("Terminal"));
    addTab(scrolling(advanced), symbolIcon("slider.horizontal.3"), QString::fromUtf8("Erweitert"));
}

} // namespace kelvane
