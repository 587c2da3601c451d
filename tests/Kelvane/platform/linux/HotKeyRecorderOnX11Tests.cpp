// Under a real X server (hotkey-end-to-end.sh starts one): a combination that another client has
// grabbed goes to that client, so the recorder sees it only while it holds the keyboard itself.
#include "Kelvane/HotKey/HotKeyRecorder.hpp"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

// Last: Xlib's macros (None, Status, Bool) break the Qt and GoogleTest headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace kelvane {
namespace {

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
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "ctrl+shift+k"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !recorder.isRecording(); }, 10'000));
    EXPECT_EQ(recorder.combination(), (HotKeyCombination{40, 0x200 | 0x100}));
    XCloseDisplay(other);
}

} // namespace
} // namespace kelvane
