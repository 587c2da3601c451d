#pragma once

#include <QLibraryInfo>
#include <QString>

class QTranslator;

namespace kelvane {

/// Loads Qt's German catalogue "qtbase_de" from `folder` into `translator` and installs it, so
/// that Qt's own texts (file chooser, context menus, standard buttons, key names) read German
/// whatever the system's language, and names the modifiers in Qt's key sequences in the
/// platform's words. Logs and returns false when the catalogue is missing; the application then
/// goes on with Qt's English texts.
bool installGermanQtTexts(QTranslator& translator, const QString& folder = QLibraryInfo::path(
                                                       QLibraryInfo::TranslationsPath));

} // namespace kelvane
