// What a user feels on a real X server (desktop-latency-on-xvfb.sh starts one with IceWM, whose
// task bar holds the tray): from the global hot key's press to the quick-search panel painted,
// from a click on the tray icon to the menu painted, and from Return in the panel or a click on
// a menu item to the terminal program's process started. The key presses and clicks reach the
// server through XTEST on a connection of their own, as from another program's keyboard and
// mouse; the time runs from just before they are sent to the end of the window's first paint,
// or to the first thing the terminal program does: the file names "xterm", which is
// kelvane_fake_terminal here, found on PATH and started through the application's own backend.
// Usage: kelvane_desktop_latency_bench COMMANDS RUNS
#include "ConfigurationFixtures.hpp"

#include "Kelvane/Menu/StatusItemController.hpp"
#include "Kelvane/QuickSearch/QuickSearchController.hpp"
#include "Kelvane/platform/TerminalPrograms.hpp"

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"
#include "KelvaneCore/Files/FileAccess.hpp"

#include "tests/support/FakeDesktop.hpp"
#include "tests/support/InMemoryPreferenceStore.hpp"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// After Qt, whose names Xlib's macros (None, Bool) would replace.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kelvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

/// Notes when what a run waits for has happened.
class Watch : public QObject {
public:
    virtual void arm() { m_seen.reset(); }
    /// When it happened after `arm()`; none yet.
    std::optional<Clock::time_point> seen() const { return m_seen; }

protected:
    std::optional<Clock::time_point> m_seen;
};

/// Notes when the window that `watched` names has finished its first paint after `arm()`.
class PaintWatch : public Watch {
public:
    explicit PaintWatch(std::function<QWidget*()> watched) : m_watched(std::move(watched)) {
        qApp->installEventFilter(this);
    }

    void arm() override {
        Watch::arm();
        m_painting = false;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_painting && isInWatched(object)) {
            m_painting = true;
            // The paint itself runs after the filter; the queued call runs once it is done.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_painting)
                        m_seen = Clock::now();
                },
                Qt::QueuedConnection);
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
};

/// Notes when kelvane_fake_terminal started with a command line that holds `command`: it writes
/// that moment and the line to the pipe named in KELVANE_BENCH_STARTED.
class StartWatch : public Watch {
public:
    StartWatch(const QString& pipe, std::string command) : m_command(std::move(command)) {
        mkfifo(pipe.toLocal8Bit().constData(), 0600);
        m_reader = open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // Held open so that the pipe never reads as closed between two terminals.
        m_keeper = open(pipe.toLocal8Bit().constData(), O_WRONLY | O_CLOEXEC);
        qputenv("KELVANE_BENCH_STARTED", pipe.toLocal8Bit());
        m_notifier = std::make_unique<QSocketNotifier>(m_reader, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { receive(); });
    }
    ~StartWatch() override {
        m_notifier.reset();
        close(m_reader);
        close(m_keeper);
    }
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

    /// Whether every terminal so far was given the command.
    bool ranTheCommand() const { return m_ranTheCommand; }

private:
    void receive() {
        char report[512];
        const ssize_t received = read(m_reader, report, sizeof report);
        std::int64_t nanoseconds = 0;
        if (received < static_cast<ssize_t>(sizeof nanoseconds))
            return;
        std::memcpy(&nanoseconds, report, sizeof nanoseconds);
        const std::string_view line(report + sizeof nanoseconds,
                                    static_cast<std::size_t>(received) - sizeof nanoseconds);
        m_ranTheCommand = m_ranTheCommand && line.find(m_command) != std::string_view::npos;
        m_seen = Clock::time_point(std::chrono::nanoseconds(nanoseconds));
    }

    std::string m_command;
    int m_reader = -1;
    int m_keeper = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_ranTheCommand = true;
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

    void press(KeySym symbol) {
        const KeyCode key = XKeysymToKeycode(m_display, symbol);
        XTestFakeKeyEvent(m_display, key, True, CurrentTime);
        XTestFakeKeyEvent(m_display, key, False, CurrentTime);
        XFlush(m_display);
    }

    /// `notches` turns of the mouse wheel away from the user, with the pointer at `where`.
    void scrollUp(QPoint where, qsizetype notches) {
        XTestFakeMotionEvent(m_display, -1, where.x(), where.y(), CurrentTime);
        for (qsizetype notch = 0; notch < notches; ++notch) {
            XTestFakeButtonEvent(m_display, 4, True, CurrentTime);
            XTestFakeButtonEvent(m_display, 4, False, CurrentTime);
        }
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

/// One run: `prepare` brings the desktop to where the input counts (untimed), `start` sends the
/// input, `reset` puts the desktop back.
struct Steps {
    std::function<bool()> prepare;
    std::function<void()> start;
    std::function<void()> reset;
};

/// Times `runs` runs from `steps.start` until `watch` saw what it waits for. None when a run
/// never got there.
std::optional<Figures> measure(std::size_t runs, Watch& watch, const Steps& steps) {
    std::vector<double> milliseconds;
    for (std::size_t run = 0; run < runs; ++run) {
        if (!steps.prepare())
            return std::nullopt;
        watch.arm();
        const Clock::time_point begin = Clock::now();
        steps.start();
        if (!processUntil([&] { return watch.seen().has_value(); }))
            return std::nullopt;
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(*watch.seen() - begin).count());
        steps.reset();
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
        std::printf("%-36s %6zu commands: not seen within 10 s\n", what, commands);
        return;
    }
    std::printf("%-36s %6zu commands: median %6.1f ms, worst %6.1f ms, first %6.1f ms (%zu runs)\n",
                what, commands, figures->median, figures->worst, figures->first, runs);
}

bool parseCount(std::string_view text, std::size_t& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() && count > 0;
}

// The command the launches run: harmless, so that nothing asks before it runs, and first in the
// menu, so that it is on screen there.
const ShellCommand harmless(Uuid::random(), "Datum zeigen", "date", std::nullopt, std::nullopt,
                            std::nullopt, std::nullopt);

/// `commands` commands, `harmless` among them, run in "xterm".
std::string configurationText(std::size_t commands) {
    Configuration configuration =
        makeConfiguration(commands - 1, std::max<std::size_t>(1, commands / 50));
    configuration.items.insert(configuration.items.begin(), {harmless});
    configuration.settings.terminal = TerminalKind::xterm;
    return ConfigMigrator::makeV2JSON(configuration);
}

/// Puts kelvane_fake_terminal, from beside this program, first on PATH as "xterm".
bool installFakeTerminal(const QString& folder) {
    const QString fake = QCoreApplication::applicationDirPath() + "/kelvane_fake_terminal";
    if (symlink(fake.toLocal8Bit().constData(), (folder + "/xterm").toLocal8Bit().constData()) != 0)
        return false;
    qputenv("PATH", (folder + ":" + qEnvironmentVariable("PATH")).toLocal8Bit());
    return true;
}

int run(std::size_t commands, std::size_t runs) {
    FakeInput input;
    if (!input.isConnected()) {
        std::fprintf(stderr, "Kein X-Server mit XTEST unter DISPLAY erreichbar.\n");
        return 1;
    }
    QTemporaryDir folder;
    if (!installFakeTerminal(folder.path())) {
        std::fprintf(stderr, "Das Ersatzterminal lie\u00DF sich nicht einrichten.\n");
        return 1;
    }
    StartWatch terminalStart(folder.filePath("started"), harmless.command);
    const std::filesystem::path file = folder.filePath("kelvane.json").toStdString();
    FileAccess::writeAtomically(file, configurationText(commands));
    test::InMemoryPreferenceStore preferenceStore;
    Preferences preferences{preferenceStore};
    preferences.setQuickSearchHotKey(HotKeyCombination{40, 768}); // Shift+Command+K
    ConfigStore store{file, preferences};
    test::FakeDesktop desktop;
    StatusItemController controller(store, preferences,
                                    TerminalPrograms::makeBackend(
                                        [&store] {
                                            return store.configuration()
                                                       ? store.configuration()->settings.terminal
                                                       : TerminalKind::terminalApp;
                                        },
                                        [](std::string_view) {}),
                                    makeHotKeyRegistrar(), desktop.services());
    store.start();
    settle();

    // The tray icon shows once the window manager is up, which also takes the keyboard's focus.
    if (!processUntil([&] { return controller.isIconShown(); })) {
        std::fprintf(stderr, "Nach 10 s noch kein Statussymbol im Infobereich.\n");
        return 1;
    }
    settle();

    const auto nothingToPrepare = [] {
        return true;
    };
    const auto panelVisible = [&] {
        return controller.quickSearch() && controller.quickSearch()->isPanelVisible();
    };
    const auto hidePanel = [&] {
        input.pressControlShiftK();
        processUntil([&] { return !panelVisible(); });
    };
    const auto clickTray = [&] {
        input.click(controller.statusItem().geometry().center());
    };
    const auto hideMenu = [&] {
        controller.menu()->hide();
        processUntil([&] { return !controller.menu()->isVisible(); });
    };

    PaintWatch panelPaint([&]() -> QWidget* {
        return controller.quickSearch() ? controller.quickSearch()->panel() : nullptr;
    });
    print("hot key to panel painted", commands, runs,
          measure(runs, panelPaint,
                  {nothingToPrepare, [&] { input.pressControlShiftK(); }, hidePanel}));

    PaintWatch menuPaint([&]() -> QWidget* { return controller.menu(); });
    print("tray click to menu painted", commands, runs,
          measure(runs, menuPaint, {nothingToPrepare, clickTray, hideMenu}));

    // The panel is up with the search field focused and the harmless command found.
    const auto findHarmless = [&] {
        input.pressControlShiftK();
        QLineEdit* field = nullptr;
        if (!processUntil([&] {
                field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                return field && field->objectName() == "quickSearchField" &&
                       field->window()->isActiveWindow();
            }))
            return false;
        field->setText(QString::fromStdString(harmless.title));
        settle();
        return true;
    };
    print("Return in panel to terminal started", commands, runs,
          measure(runs, terminalStart,
                  {findHarmless, [&] { input.press(XK_Return); },
                   [&] {
                       processUntil([&] { return !panelVisible(); });
                   }}));

    // The menu is open and scrolled to its top, where the click goes to the middle of the
    // harmless command's item.
    QPoint item;
    const auto openMenu = [&] {
        clickTray();
        if (!processUntil([&] { return controller.menu()->isVisible(); }))
            return false;
        // Opened beside the tray, a menu taller than the screen may show a stretch further down.
        QMenu& menu = *controller.menu();
        input.scrollUp(menu.geometry().center(), menu.actions().size());
        settle();
        for (QAction* action : menu.actions())
            if (action->text().toStdString() == harmless.title)
                item = menu.mapToGlobal(menu.actionGeometry(action).center());
        return true;
    };
    print("menu click to terminal started", commands, runs,
          measure(runs, terminalStart,
                  {openMenu, [&] { input.click(item); },
                   [&] {
                       processUntil([&] { return !controller.menu()->isVisible(); });
                   }}));
    if (!terminalStart.ranTheCommand()) {
        std::fprintf(stderr, "Das Terminal bekam nicht den gew\u00E4hlten Befehl.\n");
        return 1;
    }
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
