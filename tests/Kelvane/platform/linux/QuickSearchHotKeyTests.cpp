// The whole way from a key press on a real X server (hotkey-end-to-end.sh starts one) to the
// quick-search panel: the stored combination is grabbed when the status item starts, and xdotool
// presses it as another program's keyboard would. The panel it opens keeps out of the task bar.
#include "Kelvane/Menu/StatusItemController.hpp"
#include "Kelvane/platform/Log.hpp"

#include "support/FakeDesktop.hpp"
#include "support/FakeTerminalBackend.hpp"
#include "support/InMemoryPreferenceStore.hpp"
#include "support/TemporaryFolder.hpp"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// After the test framework, whose names Xlib's macros (None, Bool) would replace.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

/// The names of the states a shown window asks the window manager for.
QStringList windowStates(const QWidget& window) {
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, static_cast<::Window>(window.winId()),
                       XInternAtom(display, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM, &type,
                       &format, &count, &remaining, &data);
    QStringList names;
    for (unsigned long index = 0; index < count; ++index) {
        char* name = XGetAtomName(display, reinterpret_cast<Atom*>(data)[index]);
        names << name;
        XFree(name);
    }
    if (data != nullptr)
        XFree(data);
    return names;
}

TEST(QuickSearchHotKey, theStoredCombinationOpensAndClosesThePanel) {
    std::vector<std::string> logged;
    Log::setSink([&](const Log::Entry& entry) {
        if (entry.category == "hotkey")
            logged.push_back(entry.message);
    });
    test::TemporaryFolder folder;
    folder.write("kelvane.json",
                 R"({"version": 2, "items": [{"title": "Eins", "command": "true"}]})");
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768}); // Shift+Command+K
    ConfigStore store{folder / "kelvane.json", preferences};
    test::FakeDesktop desktop;
    StatusItemController controller(store, preferences,
                                    std::make_unique<test::FakeTerminalBackend>(),
                                    makeHotKeyRegistrar(), desktop.services());
    store.start();
    ASSERT_TRUE(logged.empty()) << logged.front();
    ASSERT_EQ(controller.quickSearch(), nullptr);

    const auto panelVisible = [&] {
        return controller.quickSearch() && controller.quickSearch()->isPanelVisible();
    };
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+k"}), 0);
    ASSERT_TRUE(QTest::qWaitFor(panelVisible, 10000));
    EXPECT_TRUE(
        windowStates(*controller.quickSearch()->panel()).contains("_NET_WM_STATE_SKIP_TASKBAR"))
        << "the panel stays out of the task bar";
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+k"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelVisible(); }, 10000));
    Log::setSink({});
}

} // namespace
} // namespace kelvane
