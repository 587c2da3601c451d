#include "Kelvane/Startup/GermanQtTexts.hpp"

#include "Kelvane/Menu/QtMenu.hpp"
#include "Kelvane/platform/Log.hpp"
#include "Kelvane/platform/PlatformWords.hpp"

#include "support/TemporaryFolder.hpp"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kelvane {
namespace {

QString undoActionText() {
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    return menu->actions().value(0)->text();
}

QString cancelButtonText() {
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    return buttons.button(QDialogButtonBox::Cancel)->text();
}

TEST(GermanQtTextsTest, qtsOwnMenusButtonsAndShortcutsReadGerman) {
    QTranslator translator;
    ASSERT_TRUE(installGermanQtTexts(translator));
    EXPECT_TRUE(undoActionText().startsWith(QString::fromUtf8("&R\u00fcckg\u00e4ngig")))
        << undoActionText().toStdString();
    EXPECT_EQ(cancelButtonText(), "Abbrechen");

    // Menu shortcuts name their modifiers as the hot key does.
    using Modifiers = KeyboardShortcut::Modifiers;
    const Modifiers all{Modifiers::control, Modifiers::option, Modifiers::shift,
                        Modifiers::command};
    const ModifierKeys held{.control = true, .option = true, .shift = true, .command = true};
    EXPECT_EQ(keySequence({"b", all}).toString(QKeySequence::NativeText).toStdString(),
              keyCombinationText(held, "B"));
    EXPECT_EQ(
        keySequence({"b", Modifiers::control}).toString(QKeySequence::NativeText).toStdString(),
        keyCombinationText({.control = true}, "B"));
}

TEST(GermanQtTextsTest, aMissingCatalogueIsLoggedAndQtStaysEnglish) {
    std::vector<Log::Entry> log;
    Log::setSink([&log](const Log::Entry& entry) { log.push_back(entry); });
    test::TemporaryFolder empty;
    QTranslator translator;
    EXPECT_FALSE(installGermanQtTexts(translator, QString::fromStdString(empty.path().string())));
    Log::setSink({});

    EXPECT_TRUE(undoActionText().startsWith("&Undo"));
    ASSERT_EQ(log.size(), 1U);
    EXPECT_EQ(log[0].level, Log::Level::error);
    EXPECT_NE(log[0].message.find("\u201Eqtbase_de\u201C fehlt in " + empty.path().string()),
              std::string::npos)
        << log[0].message;
}

} // namespace
} // namespace kelvane
