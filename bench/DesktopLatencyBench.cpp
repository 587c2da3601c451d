// What a user feels on a real X server (desktop-latency-on-xvfb.sh starts one with IceWM, whose
// task bar holds the tray): from the global hot key's press to the quick-search panel painted,
// and from a click on the tray icon to the menu painted. The key press and the click reach the
// server through XTEST on a connection of their own, as from another program's keyboard and
// mouse; the time runs from just before they are sent to the end of the window's first paint.
// Usage: kelvane_desktop_latency_bench COMMANDS RUNS
#include "ConfigurationFixtures.hpp"

#include "Kelvane/Menu/StatusItemController.hpp"
#include "Kelvane/QuickSearch/QuickSearchController.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/FakeDesktop.hpp"
#include "tests/support/FakeTerminalBackend.hpp"
#include "tests/support/InMemoryPreferenceStore.hpp"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

// After Qt, whose names Xlib's macros (None, Bool) would replace.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

/// Notes when the window that `watched` names has finished its first paint after `arm()`.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<QWidget*()> watched) : m_watched(std::move(watched)) {
        qApp->installEventFilter(this);
    }

    void arm() { m_painting = m_painted = false; }
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painting && isInWatched(object)) {
            m_painting = true;
            // The paint itself runs after the filter; the queued call runs once it is done.
            QMetaObject::invokeMethod(
                this, [this] { m_painted = m_painting; }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    /// The window itself or a widget inside it: a window drawn wholly by its children never gets a
    /// paint event of its own.
    bool isInWatched(QObject* object) const {
        QWidget* window = m_watched();
        auto* widget = qobject_cast<QWidget*>(object);
        return window && widget && (widget == window || window->isAncestorOf(widget));
    }

    std::function<QWidget*()> m_watched;
    bool m_painting = false;
    bool m_painted = false;
};

/// Runs the event loop until `done`, or gives up after ten seconds.
bool processUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10'000);
    QTimer wakeUp; // the loop looks at `done` at least this often
    wakeUp.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

/// Lets whatever the last run left behind happen before the next one starts, and keeps two
/// clicks on the icon from counting as a double click.
void settle() {
    const QDeadlineTimer deadline(QApplication::doubleClickInterval() + 100);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

/// Another client's keyboard and mouse.
class FakeInput {
public:
    FakeInput() : m_display(XOpenDisplay(nullptr)) {}
    ~FakeInput() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    FakeInput(const FakeInput&) = delete;
    FakeInput& operator=(const FakeInput&) = delete;

    bool isConnected() const {
        int event = 0, error = 0, major = 0, minor = 0;
        return m_display && XTestQueryExtension(m_display, &event, &error, &major, &minor);
    }

    /// Control, Shift and K, pressed in that order and released the other way round.
    void pressControlShiftK() {
        const KeySym keys[] = {XK_Control_L, XK_Shift_L, XK_k};
        for (const KeySym key : keys)
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), True, CurrentTime);
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, *key), False, CurrentTime);
        XFlush(m_display);
    }

    void click(QPoint where) {
        XTestFakeMotionEvent(m_display, -1, where.x(), where.y(), CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
    }

private:
    Display* m_display;
};

struct Figures {
    double first = 0;
    double median = 0;
    double worst = 0;
};

/// Times `runs` runs of `start` (the input) until `watch` saw the first paint; `reset` puts the
/// desktop back between runs. None when a run never painted.
std::optional<Figures> measure(std::size_t runs, PaintWatch& watch,
                               const std::function<void()>& start,
                               const std::function<void()>& reset) {
    std::vector<double> milliseconds;
    for (std::size_t run = 0; run < runs; ++run) {
        watch.arm();
        const Clock::time_point begin = Clock::now();
        start();
        if (!processUntil([&] { return watch.painted(); }))
            return std::nullopt;
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
        reset();
        settle();
    }
    Figures figures{milliseconds.front(), 0, 0};
    std::sort(milliseconds.begin(), milliseconds.end());
    figures.median = milliseconds[milliseconds.size() / 2];
    figures.worst = milliseconds.back();
    return figures;
}

void print(const char* what, std::size_t commands, std::size_t runs,
           const std::optional<Figures>& figures) {
    if (!figures) {
        std::printf("%-32s %6zu commands: no paint within 10 s\n", what, commands);
        return;
    }
    std::printf("%-32s %6zu commands: median %6.1f ms, worst %6.1f ms, first %6.1f ms (%zu runs)\n",
                what, commands, figures->median, figures->worst, figures->first, runs);
}

bool parseCount(std::string_view text, std::size_t& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() && count > 0;
}

int run(std::size_t commands, std::size_t runs) {
    FakeInput input;
    if (!input.isConnected()) {
        std::fprintf(stderr, "Kein X-Server mit XTEST unter DISPLAY erreichbar.\n");
        return 1;
    }
    QTemporaryDir folder;
    const std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    FileAccess::writeAtomically(file,
                                makeV2Text(commands, std::max<std::size_t>(1, commands / 50)));
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768}); // Shift+Command+K
    ConfigStore store{file, preferences};
    test::FakeDesktop desktop;
    StatusItemController controller(store, preferences,
                                    std::make_unique<test::FakeTerminalBackend>(),
                                    makeHotKeyRegistrar(), desktop.services());
    store.start();
    settle();

    // The tray icon shows once the window manager is up, which also takes the keyboard's focus.
    if (!processUntil([&] { return controller.isIconShown(); })) {
        std::fprintf(stderr, "Nach 10 s noch kein Statussymbol im Infobereich.\n");
        return 1;
    }
    settle();

    PaintWatch panelPaint([&]() -> QWidget* {
        return controller.quickSearch() ? controller.quickSearch()->panel() : nullptr;
    });
    const auto panelVisible = [&] {
        return controller.quickSearch() && controller.quickSearch()->isPanelVisible();
    };
    print("hot key to panel painted", commands, runs,
          measure(
              runs, panelPaint, [&] { input.pressControlShiftK(); },
              [&] {
                  input.pressControlShiftK();
                  processUntil([&] { return !panelVisible(); });
              }));

    PaintWatch menuPaint([&]() -> QWidget* { return controller.menu(); });
    print("tray click to menu painted", commands, runs,
          measure(
              runs, menuPaint, [&] { input.click(controller.statusItem().geometry().center()); },
              [&] {
                  controller.menu()->hide();
                  processUntil([&] { return !controller.menu()->isVisible(); });
              }));
    return 0;
}

} // namespace
} // namespace kelvane::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    std::size_t commands = 0;
    std::size_t runs = 0;
    if (argc != 3 || !kelvane::bench::parseCount(argv[1], commands) ||
        !kelvane::bench::parseCount(argv[2], runs)) {
        std::fprintf(stderr, "Aufruf: kelvane_desktop_latency_bench BEFEHLE DURCHL\u00C4UFE\n");
        return 64;
    }
    return kelvane::bench::run(commands, runs);
}
