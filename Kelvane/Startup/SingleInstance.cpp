#include "Kelvane/Startup/SingleInstance.hpp"

#include "Kelvane/platform/Log.hpp"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace kelvane {
namespace {

const QByteArray menuRequest = "menu";
constexpr int answerTimeoutMs = 2000;
/// Longer than any request; a peer that sends more without a line end is not Kelvane.
constexpr qint64 longestRequest = 64;

} // namespace

QString SingleInstance::serverName(const std::filesystem::path& applicationFolder) {
    const QByteArray folderHash =
        QCryptographicHash::hash(QByteArray::fromStdString(applicationFolder.string()),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/kelvane-" +
           QString::fromLatin1(folderHash);
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

bool SingleInstance::claim() {
    // Two starts at the same moment must not both find nobody and both listen. A lock left by
    // a process that has ended is taken over; one that cannot be had at all only loses that
    // guard, not the start.
    QLockFile lock(m_serverName + ".lock");
    lock.tryLock(answerTimeoutMs);
    if (askRunningInstance()) {
        Log::info("app", "Kelvane l\u00E4uft bereits: Die laufende Instanz \u00F6ffnet ihr "
                         "Men\u00FC, dieser Start endet.");
        return false;
    }
    listen();
    return true;
}

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(answerTimeoutMs))
        return false;
    socket.write(menuRequest + '\n');
    socket.waitForBytesWritten(answerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::listen() {
    // Nobody answered: a socket still there is what a Kelvane that crashed left behind.
    QLocalServer::removeServer(m_serverName);
    if (!m_server.listen(m_serverName))
        Log::error("app", "Weitere Starts k\u00F6nnen Kelvane nicht finden: " +
                              m_server.errorString().toStdString());
}

void SingleInstance::accept() {
    while (QLocalSocket* connection = m_server.nextPendingConnection()) {
        connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        connect(connection, &QLocalSocket::readyRead, this,
                [this, connection] { read(*connection); });
        read(*connection);
    }
}

void SingleInstance::read(QLocalSocket& connection) {
    while (connection.canReadLine()) {
        if (connection.readLine().trimmed() != menuRequest)
            continue;
        Log::info("app", "Kelvane wurde erneut gestartet: Das Men\u00FC wird ge\u00F6ffnet.");
        emit menuRequested();
    }
    if (connection.bytesAvailable() > longestRequest)
        connection.abort();
}

} // namespace kelvane
