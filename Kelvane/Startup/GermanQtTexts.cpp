#include "Kelvane/Startup/GermanQtTexts.hpp"

#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include <array>
#include <cstring>
#include <utility>

namespace kelvane {
namespace {

/// Gives the modifiers in the key sequences Qt shows (the menu's shortcuts) the platform's names,
/// so that they read as the hot key and the quick search name them.
class PlatformKeyNames final : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char*,
                      int) const override {
        if (std::strcmp(context, "QShortcut") != 0)
            return {};
        // Qt's name of each modifier as keySequence() maps the Mac keys onto Qt's.
        static constexpr std::array<std::pair<const char*, ModifierKey>, 4> qtNames{{
            {"Meta", ModifierKey::control},
            {"Ctrl", ModifierKey::command},
            {"Alt", ModifierKey::option},
            {"Shift", ModifierKey::shift},
        }};
        for (const auto& [qtName, key] : qtNames) {
            if (std::strcmp(sourceText, qtName) != 0)
                continue;
            for (const auto& [wordKey, word] : platformWords().modifierNames)
                if (wordKey == key)
                    return QString::fromUtf8(word);
        }
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

bool installGermanQtTexts(QTranslator& translator, const QString& folder) {
    static PlatformKeyNames keyNames;
    // The translator installed last is asked first.
    QCoreApplication::removeTranslator(&keyNames);
    const bool loaded =
        translator.load("qtbase_de", folder) && QCoreApplication::installTranslator(&translator);
    QCoreApplication::installTranslator(&keyNames);
    if (!loaded)
        Log::error("app", "Qt-\u00dcbersetzung \u201Eqtbase_de\u201C fehlt in " +
                              QDir::toNativeSeparators(folder).toStdString() +
                              "; Dialoge und Men\u00fcs von Qt bleiben englisch.");
    return loaded;
}

} // namespace kelvane
