#include "Kelvane/Desktop/QtWorkspace.hpp"

#include "Kelvane/platform/FileManager.hpp"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include <filesystem>

namespace kelvane {

void QtWorkspace::copyToPasteboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
}

bool QtWorkspace::openURL(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

bool QtWorkspace::openFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtWorkspace::revealFile(const std::string& path) {
    if (selectInFileManager(path))
        return true;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

} // namespace kelvane
