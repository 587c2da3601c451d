// Kelvane lives in the status area only: no main window, no task-bar entry; closing a dialog or
// the settings window must not end it, only the menu's quit item does.
#include "Kelvane/Desktop/QtDialogs.hpp"
#include "Kelvane/Desktop/QtWorkspace.hpp"
#include "Kelvane/Startup/AppDelegate.hpp"
#include "Kelvane/Startup/GermanQtTexts.hpp"
#include "Kelvane/Startup/SingleInstance.hpp"
#include "Kelvane/platform/AccessoryApplication.hpp"
#include "Kelvane/platform/PreferenceStore.hpp"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kelvane");
    QApplication::setOrganizationDomain("tolvo.de");
    QApplication::setDesktopFileName("kelvane");
    QApplication::setWindowIcon(QIcon(":/MenuBarIcon"));
    QApplication::setQuitOnLastWindowClosed(false);
    QTranslator qtTexts;
    kelvane::installGermanQtTexts(qtTexts);

    kelvane::SingleInstance instance(
        kelvane::SingleInstance::serverName(kelvane::applicationSupportFolder()));
    if (!instance.claim())
        return 0;

    kelvane::QtDialogs dialogs;
    kelvane::QtWorkspace workspace;
    kelvane::AppDelegate delegate(kelvane::Preferences::shared(), dialogs, workspace,
                                  kelvane::LaunchAtLogin::shared());
    QObject::connect(&instance, &kelvane::SingleInstance::menuRequested, &delegate, [&delegate] {
        if (kelvane::StatusItemController* statusItem = delegate.statusItem())
            statusItem->popUpMenu();
    });
    kelvane::makeAccessoryApplication();
    QTimer::singleShot(0, &delegate, &kelvane::AppDelegate::applicationDidFinishLaunching);
    return QApplication::exec();
}
