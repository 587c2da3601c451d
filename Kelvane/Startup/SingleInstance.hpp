#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <filesystem>

class QLocalSocket;

namespace kelvane {

/// One Kelvane per user and configuration folder: the first start listens on a local socket;
/// a later start finds it there, asks it to open its menu and ends. A second status icon would
/// only compete with the first for the hot key.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    /// Where the Kelvane that keeps its files in `applicationFolder` listens: in the user's
    /// private runtime folder, named after that folder, so that a run with a configuration
    /// folder of its own (a test with a temporary home) never meets the user's Kelvane.
    static QString serverName(const std::filesystem::path& applicationFolder);

    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    /// Makes this process the one Kelvane and listens for later starts; false when one already
    /// runs, which has then been asked for its menu: this start is to end.
    bool claim();

signals:
    /// A later start asked for the menu.
    void menuRequested();

private:
    bool askRunningInstance();
    void listen();
    void accept();
    void read(QLocalSocket& connection);

    QString m_serverName;
    QLocalServer m_server;
};

} // namespace kelvane
