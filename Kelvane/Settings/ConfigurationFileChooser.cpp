#include "Kelvane/Settings/ConfigurationFileChooser.hpp"

#include <QApplication>
#include <QFileDialog>

namespace kelvane {

std::optional<std::filesystem::path>
chooseConfigurationFileWithDialog(const std::filesystem::path& currentFile) {
    const QString chosen = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), QString::fromUtf8("Konfigurationsdatei ausw\u00e4hlen"),
        QString::fromStdString(currentFile.parent_path().string()),
        QString::fromUtf8("JSON-Dateien (*.json)"));
    if (chosen.isEmpty())
        return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

} // namespace kelvane
