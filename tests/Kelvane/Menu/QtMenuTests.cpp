#include "Kelvane/Menu/QtMenu.hpp"

#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using Modifiers = KeyboardShortcut::Modifiers;

MenuItem item(std::string title, std::optional<MenuAction> action = MenuAction::showAbout) {
    MenuItem result;
    result.title = std::move(title);
    result.action = action;
    return result;
}

MenuItem separator() {
    MenuItem result;
    result.kind = MenuItem::Kind::separator;
    return result;
}

/// A command item followed by its alternate, as the builder pairs them.
std::vector<MenuItem> commandPair(const std::string& title) {
    const ShellCommand command(Uuid::random(), title, "echo " + title, {}, {}, {}, {});
    MenuItem primary = item(title, MenuAction::runCommand);
    primary.command = command;
    MenuItem alternate = item(title + " kopieren", MenuAction::copyCommand);
    alternate.command = command;
    alternate.isAlternate = true;
    return {primary, alternate};
}

std::vector<std::string> visibleTexts(const QMenu& menu) {
    std::vector<std::string> texts;
    for (const QAction* action : menu.actions()) {
        if (action->isVisible())
            texts.push_back(action->isSeparator() ? "---" : action->text().toStdString());
    }
    return texts;
}

/// The submenu of an item as the user sees it: its items are made when it is about to show.
QMenu& opened(const QAction& item) {
    QMenu& submenu = *item.menu();
    emit submenu.aboutToShow();
    return submenu;
}

void sendAlt(QMenu& menu, QEvent::Type type) {
    QKeyEvent event(type, Qt::Key_Alt, type == QEvent::KeyPress ? Qt::AltModifier : Qt::NoModifier);
    QCoreApplication::sendEvent(&menu, &event);
}

TEST(QtMenu, keySequencesFollowQtsModifierConvention) {
    struct Case {
        MenuKeyEquivalent equivalent;
        QString expected;
    };
    const std::vector<Case> cases{
        {{"k", Modifiers{Modifiers::command, Modifiers::shift}}, "Ctrl+Shift+K"},
        {{"j", Modifiers{Modifiers::control, Modifiers::option}}, "Meta+Alt+J"},
        {{"\u00E4", Modifiers::command}, "Ctrl+\u00C4"},
        {{"", Modifiers::option}, ""},
        {{"ab", Modifiers::command}, ""},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.expected.toStdString());
        EXPECT_EQ(keySequence(testCase.equivalent).toString(QKeySequence::PortableText),
                  testCase.expected);
    }
}

TEST(QtMenu, itemsKeepTheirTitlesStateAndStructure) {
    MenuItem disabled = item("Leer & still", std::nullopt);
    disabled.enabled = false;
    disabled.keyEquivalent = MenuKeyEquivalent{"q", Modifiers::command};
    MenuItem group = item("Gruppe\tmit Tab", std::nullopt);
    group.submenu = std::vector<MenuItem>{item("Innen")};
    const auto menu = makeQMenu({disabled, separator(), group}, {});

    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Leer && still") << "a lone & would mark a mnemonic";
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions[0]->shortcut(), QKeySequence(Qt::ControlModifier | Qt::Key_Q));
    EXPECT_TRUE(actions[2]->shortcut().isEmpty());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "Gruppe mit Tab");
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(visibleTexts(opened(*actions[2])), std::vector<std::string>{"Innen"});
    EXPECT_TRUE(menu->toolTipsVisible());
}

TEST(QtMenu, toolTipsShowCommandsLiterally) {
    MenuItem command = item("HTML");
    command.toolTip = "echo '<b>fett</b>' && ls";
    const auto menu = makeQMenu({command}, {});
    const QString toolTip = menu->actions()[0]->toolTip();
    EXPECT_TRUE(toolTip.startsWith("<p")) << toolTip.toStdString();
    EXPECT_TRUE(toolTip.contains("&lt;b&gt;fett&lt;/b&gt;' &amp;&amp; ls"))
        << toolTip.toStdString();
}

TEST(QtMenu, choosingAnItemPerformsItsActionWithItsCommand) {
    std::vector<std::pair<MenuAction, std::optional<std::string>>> performed;
    MenuItem group = item("Gruppe", std::nullopt);
    group.submenu = commandPair("Liste");
    const auto menu =
        makeQMenu({item("Neu laden", MenuAction::reloadConfiguration), group},
                  [&](MenuAction action, const std::optional<ShellCommand>& command) {
                      performed.emplace_back(action, command ? std::optional(command->command)
                                                             : std::nullopt);
                  });
    menu->actions()[0]->trigger();
    const QList<QAction*> inner = opened(*menu->actions()[1]).actions();
    inner[0]->trigger();
    inner[1]->trigger();
    menu->actions()[1]->trigger();
    using Performed = std::pair<MenuAction, std::optional<std::string>>;
    EXPECT_EQ(performed, (std::vector<Performed>{
                             {MenuAction::reloadConfiguration, std::nullopt},
                             {MenuAction::runCommand, "echo Liste"},
                             {MenuAction::copyCommand, "echo Liste"},
                         }))
        << "a group's own item does nothing";
}

TEST(QtMenu, holdingAltShowsTheAlternatesInTheWholeTree) {
    MenuItem group = item("Gruppe", std::nullopt);
    group.submenu = commandPair("Innen");
    std::vector<MenuItem> model = commandPair("A");
    model.push_back(group);
    model.push_back(item("\u00DCber Kelvane"));
    const auto menu = makeQMenu(model, {});
    QMenu& submenu = opened(*menu->actions()[2]);

    const std::vector<std::string> normal{"A", "Gruppe", "\u00DCber Kelvane"};
    const std::vector<std::string> alternates{"A kopieren", "Gruppe", "\u00DCber Kelvane"};
    EXPECT_EQ(visibleTexts(*menu), normal);
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen"});

    sendAlt(*menu, QEvent::KeyPress);
    EXPECT_EQ(visibleTexts(*menu), alternates);
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen kopieren"});

    sendAlt(submenu, QEvent::KeyRelease);
    EXPECT_EQ(visibleTexts(*menu), normal) << "releasing Alt in a submenu restores every level";
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen"});

    sendAlt(submenu, QEvent::KeyPress);
    EXPECT_EQ(visibleTexts(*menu), alternates);
}

TEST(QtMenu, aSubmenusItemsAreMadeOnceWhenItFirstOpensInTheStateOfTheTree) {
    MenuItem inner = item("Innen", std::nullopt);
    inner.submenu = commandPair("Tief");
    MenuItem group = item("Gruppe", std::nullopt);
    group.submenu = std::vector<MenuItem>{inner};
    const auto menu = makeQMenu({group}, {});
    QMenu& submenu = *menu->actions()[0]->menu();
    EXPECT_TRUE(submenu.actions().isEmpty()) << "nothing is made before the submenu opens";

    sendAlt(*menu, QEvent::KeyPress);
    opened(*menu->actions()[0]);
    EXPECT_EQ(visibleTexts(opened(*submenu.actions()[0])),
              std::vector<std::string>{"Tief kopieren"})
        << "a submenu opened while Alt is held shows the alternates";
    opened(*menu->actions()[0]);
    EXPECT_EQ(submenu.actions().size(), 1) << "opening again makes nothing twice";
}

TEST(QtMenu, menuSymbolsHaveIconsAndUnknownNamesNone) {
    MenuItem withIcon = item("Warnung");
    withIcon.icon = MenuIcon{"exclamationmark.triangle.fill", "Warnung"};
    MenuItem unknownIcon = item("Unbekannt");
    unknownIcon.icon = MenuIcon{"no.such.symbol.anywhere", std::nullopt};
    const auto menu = makeQMenu({withIcon, unknownIcon}, {});
    EXPECT_FALSE(menu->actions()[0]->icon().isNull());
    EXPECT_TRUE(menu->actions()[1]->icon().isNull());
}

} // namespace
} // namespace kelvane
