#include "Kelvane/Startup/GermanQtTexts.hpp"

#include "Kelvane/platform/Log.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace kelvane {

bool installGermanQtTexts(QTranslator& translator, const QString& folder) {
    if (!translator.load("qtbase_de", folder) ||
        !QCoreApplication::installTranslator(&translator)) {
        Log::error("app", "Qt-\u00dcbersetzung \u201Eqtbase_de\u201C fehlt in " +
                              QDir::toNativeSeparators(folder).toStdString() +
                              "; Dialoge und Men\u00fcs von Qt bleiben englisch.");
        return false;
    }
    return true;
}

} // namespace kelvane
