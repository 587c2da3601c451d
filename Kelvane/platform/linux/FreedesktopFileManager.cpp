#include "Kelvane/platform/FileManager.hpp"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QUrl>

namespace kelvane {

bool selectInFileManager(const std::string& path) {
    // The file managers of GNOME, KDE, Xfce and others answer this interface; most only start
    // when it is called, so a service that is merely activatable counts too.
    const QString service = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = bus.interface();
    if (!names || !(names->isServiceRegistered(service).value() ||
                    names->activatableServiceNames().value().contains(service)))
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/FileManager1"),
                                       service, QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(QString::fromStdString(path))
                            .toString(QUrl::FullyEncoded)}
         << QString();
    // Not waited for: starting a file manager can take seconds, and the menu must not hang.
    return bus.send(call);
}

} // namespace kelvane
