// Under a real X server with Qt on xcb (hotkey-end-to-end.sh starts one); xdotool types the keys
// through the XTEST extension, as the keyboard of another program would.
#include "Kelvane/HotKey/HotKeyRecorder.hpp"
#include "Kelvane/platform/HotKeyRegistrar.hpp"
#include "Kelvane/platform/linux/X11ErrorTrap.hpp"
#include "Kelvane/platform/linux/X11KeyMapping.hpp"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

// Last: Xlib's macros (None, Status, Bool) break the Qt and GoogleTest headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xproto.h>

namespace kelvane {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kKey = 40;
constexpr uint32_t shiftCommand = 0x200 | 0x100;

// Returns once the server has handled the keys: xdotool flushes them before it exits.
void xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
}
void type(const QString& keys) {
    xdotool({"key", keys});
}

class X11HotKeyRegistrarTest : public ::testing::Test {
protected:
    X11HotKeyRegistrarTest() {
        registrar->setOnPress([this] { ++presses; });
    }

    // Waits for the next press; anything beyond one press is a fault.
    void expectOnePressMore(int before) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return presses > before; }, 10'000));
        EXPECT_EQ(presses, before + 1);
    }

    std::unique_ptr<HotKeyRegistrar> registrar = makeHotKeyRegistrar();
    int presses = 0;
};

TEST_F(X11HotKeyRegistrarTest, aPressArrivesWhateverTheLocksUntilItIsUnregistered) {
    ASSERT_EQ(registrar->registerHotKey(kKey, shiftCommand), 0);
    // Each lock key toggles: no lock, Num Lock, both, Caps Lock, and back to none at the end.
    for (const QString lockKey : {"", "Num_Lock", "Caps_Lock", "Num_Lock"}) {
        SCOPED_TRACE(lockKey.toStdString());
        if (!lockKey.isEmpty())
            type(lockKey);
        const int before = presses;
        type("ctrl+shift+k");
        expectOnePressMore(before);
    }
    type("Caps_Lock");

    // Other keys reach the window that has the focus.
    QLineEdit field;
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    XSetInputFocus(display, static_cast<::Window>(field.winId()), RevertToParent, CurrentTime);
    XSync(display, False);
    type("ctrl+shift+j");
    type("a");
    EXPECT_TRUE(QTest::qWaitFor([&] { return field.text() == "a"; }, 10'000));

    registrar->unregisterHotKey();
    type("ctrl+shift+k");
    // Registering again orders the presses: only the one after it may arrive.
    ASSERT_EQ(registrar->registerHotKey(kKey, shiftCommand), 0);
    type("ctrl+shift+k");
    expectOnePressMore(4);
}

// Counts the key presses that reach the application, before any other filter sees them.
class KeyPressCounter : public QAbstractNativeEventFilter {
public:
    KeyPressCounter() { QCoreApplication::instance()->installNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        if ((static_cast<const xcb_generic_event_t*>(message)->response_type & ~0x80) ==
            XCB_KEY_PRESS)
            ++presses;
        return false;
    }

    int presses = 0;
};

TEST_F(X11HotKeyRegistrarTest, aHeldCombinationCountsOnceUntilItIsLetGo) {
    ASSERT_EQ(registrar->registerHotKey(kKey, shiftCommand), 0);
    KeyPressCounter keyPresses;
    xdotool({"keydown", "ctrl+shift+k"});
    // The server's auto-repeat presses the held key again and again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return keyPresses.presses >= 3; }, 10'000));
    xdotool({"keyup", "ctrl+shift+k"});
    type("ctrl+shift+k");
    EXPECT_TRUE(QTest::qWaitFor([&] { return presses >= 2; }, 10'000));
    EXPECT_EQ(presses, 2);
}

TEST_F(X11HotKeyRegistrarTest, aCombinationAnotherClientHoldsIsRefusedWithoutAPartialGrab) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const Window root = DefaultRootWindow(other);
    const KeyCode k = XKeysymToKeycode(other, XK_k);
    const unsigned modifiers = ControlMask | ShiftMask;
    // Xvfb's keymap puts Num Lock on Mod2. Holding only the Num Lock variant lets the variants
    // before it succeed, which the refused registration must give back.
    XGrabKey(other, k, modifiers | Mod2Mask, root, False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    EXPECT_EQ(registrar->registerHotKey(kKey, shiftCommand), HotKeyRegistrar::combinationTaken);
    {
        X11ErrorTrap trap(other);
        for (const unsigned locks : {0u, unsigned(LockMask), unsigned(Mod2Mask | LockMask)})
            XGrabKey(other, k, modifiers | locks, root, False, GrabModeAsync, GrabModeAsync);
        EXPECT_EQ(trap.firstError(), 0) << "a variant was still grabbed";
    }
    XCloseDisplay(other);

    EXPECT_EQ(registrar->registerHotKey(kKey, shiftCommand), 0);
}

// A combination another client has grabbed goes to that client, so the recorder sees it only
// while it holds the keyboard itself.
TEST(HotKeyRecorderOnX11, recordsACombinationAnotherClientHasGrabbed) {
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    XGrabKey(other, XKeysymToKeycode(other, XK_k), ControlMask | ShiftMask,
             DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    HotKeyRecorder recorder;
    recorder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&recorder));
    recorder.startRecording();
    type("ctrl+shift+k");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.isRecording(); }, 10'000));
    EXPECT_EQ(recorder.combination(), (HotKeyCombination{kKey, shiftCommand}));
    XCloseDisplay(other);
}

TEST_F(X11HotKeyRegistrarTest, everyMappedKeyButF13ToF20CanBeGrabbedOnAUsKeyboard) {
    // All four modifiers, so that no shortcut of the window manager is in the way.
    constexpr uint32_t allModifiers = 0x100 | 0x200 | 0x800 | 0x1000;
    std::vector<uint32_t> unavailable;
    for (uint32_t keyCode = 0; keyCode < 128; ++keyCode) {
        if (!keySymbolForMacKeyCode(keyCode))
            continue;
        const int32_t status = registrar->registerHotKey(keyCode, allModifiers);
        if (status == HotKeyRegistrar::keyUnavailable)
            unavailable.push_back(keyCode);
        else
            EXPECT_EQ(status, 0) << "key code " << keyCode;
    }
    // xkeyboard-config gives the keys F13 to F20 launcher symbols (XF86Tools, ...) instead.
    EXPECT_THAT(unavailable, ElementsAre(64, 79, 80, 90, 105, 106, 107, 113));
}

} // namespace
} // namespace kelvane
