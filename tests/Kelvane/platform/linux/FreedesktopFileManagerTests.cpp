// Runs on a D-Bus session bus of its own (dbus-run-session), where it plays the file manager.
#include "Kelvane/Desktop/QtWorkspace.hpp"
#include "Kelvane/platform/FileManager.hpp"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QList<QStringList> shown;

public slots:
    void ShowItems(const QStringList& uris, const QString&) { shown.append(uris); }
};

// Stands in for the desktop's handler of a URL scheme.
class URLHandler : public QObject {
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened.append(url.toString()); }
};

TEST(FreedesktopFileManager, asksTheFileManagerToSelectTheFileOrOpensItsFolder) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "needs a session bus";
    EXPECT_FALSE(selectInFileManager("/tmp/kelvane.json")) << "no file manager yet";

    // Without one, the workspace opens the file's folder instead.
    URLHandler handler;
    QDesktopServices::setUrlHandler("file", &handler, "open");
    QDesktopServices::setUrlHandler("https", &handler, "open");
    QtWorkspace workspace;
    EXPECT_TRUE(workspace.revealFile("/tmp/ein Ordner/kelvane.json"));
    EXPECT_TRUE(workspace.openFile("/tmp/kelvane.json"));
    EXPECT_TRUE(workspace.openURL("https://example.org/hilfe"));
    EXPECT_FALSE(workspace.openURL("kelvane-unbekannt:x")) << "nothing handles it";
    EXPECT_EQ(handler.opened, (QStringList{"file:///tmp/ein Ordner", "file:///tmp/kelvane.json",
                                           "https://example.org/hilfe"}));
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");

    FakeFileManager fileManager;
    ASSERT_TRUE(bus.registerObject("/org/freedesktop/FileManager1", &fileManager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService("org.freedesktop.FileManager1"));
    EXPECT_TRUE(selectInFileManager("/tmp/ein Ordner/k\u00f6nig #1.json"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fileManager.shown.isEmpty(); }));
    EXPECT_EQ(fileManager.shown.front(),
              QStringList{"file:///tmp/ein%20Ordner/k%C3%B6nig%20%231.json"});
    bus.unregisterService("org.freedesktop.FileManager1");
}

} // namespace
} // namespace kelvane

#include "FreedesktopFileManagerTests.moc"
