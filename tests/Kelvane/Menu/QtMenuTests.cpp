#include "Kelvane/Menu/QtMenu.hpp"

#include "Kelvane/Menu/MenuBuilder.hpp"

#include <QAbstractEventDispatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolTip>

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

QRect screenGeometry() {
    return QGuiApplication::primaryScreen()->geometry();
}

/// Pops the menu up with its top left at the point, as the status item does.
QMenu& poppedUp(QMenu& menu, QPoint topLeft) {
    menu.popup(topLeft);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
    return menu;
}

/// Opens the submenu of an item as hovering it does, at once.
QMenu& hoveredOpen(QMenu& parent, QAction& item) {
    parent.setActiveAction(&item);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(item.menu()));
    return *item.menu();
}

MenuItem withKey(MenuItem item, std::string key, Modifiers modifiers = Modifiers::command) {
    item.keyEquivalent = MenuKeyEquivalent{std::move(key), modifiers};
    return item;
}

MenuItem groupOf(std::string title, std::vector<MenuItem> items) {
    MenuItem result = item(std::move(title), std::nullopt);
    result.submenu = std::move(items);
    return result;
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
    MenuItem unknownIcon = item("Unbekannt");
    unknownIcon.icon = MenuIcon{"no.such.symbol.anywhere", std::nullopt};
    group.icon = MenuIcon{"exclamationmark.triangle.fill", "Warnung"};
    const auto menu = makeQMenu({disabled, separator(), group, unknownIcon}, {});

    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "Leer && still") << "a lone & would mark a mnemonic";
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions[0]->shortcut(), QKeySequence(Qt::ControlModifier | Qt::Key_Q));
    EXPECT_TRUE(actions[2]->shortcut().isEmpty());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "Gruppe mit Tab");
    ASSERT_NE(actions[2]->menu(), nullptr);
    EXPECT_EQ(visibleTexts(opened(*actions[2])), std::vector<std::string>{"Innen"});
    EXPECT_TRUE(menu->toolTipsVisible());
    EXPECT_FALSE(actions[2]->icon().isNull());
    EXPECT_TRUE(actions[3]->icon().isNull()) << "an unknown symbol name shows no icon";
}

/// The tooltip an item shows when the pointer rests on it.
QLabel* shownToolTip(QMenu& menu, const QAction& action) {
    const QPoint at = menu.actionGeometry(const_cast<QAction*>(&action)).center();
    QHelpEvent help(QEvent::ToolTip, at, menu.mapToGlobal(at));
    QCoreApplication::sendEvent(&menu, &help);
    return menu.findChild<QLabel*>("qtooltip_label");
}

TEST(QtMenu, toolTipsShowCommandsLiterallyOnOneLineAndGoWithTheirMenu) {
    MenuItem html = item("HTML");
    html.toolTip = "echo '<b>fett</b>' && ls";
    MenuItem ssh = item("Server");
    ssh.toolTip = "ssh deploy@example.org 'cd /srv/app && git pull && systemctl restart app'";
    const auto menu = makeQMenu({groupOf("Gruppe", {html, ssh})}, {});
    poppedUp(*menu, {0, 0});
    QMenu& submenu = hoveredOpen(*menu, *menu->actions()[0]);

    EXPECT_TRUE(submenu.actions()[0]->toolTip().contains("&lt;b&gt;fett&lt;/b&gt;' &amp;&amp; ls"))
        << submenu.actions()[0]->toolTip().toStdString();
    const QLabel* label = shownToolTip(submenu, *submenu.actions()[1]);
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_LT(label->height(), 2 * label->fontMetrics().lineSpacing()) << "one line";
    EXPECT_GE(label->width(),
              label->fontMetrics().horizontalAdvance(QString::fromStdString(*ssh.toolTip)));

    menu->hide();
    QTRY_VERIFY(!QToolTip::isVisible());
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

// The long alternate widens the menu at the screen's right edge: it must stay on screen and
// beside its open submenu.
TEST(QtMenu, holdingAltInAnOpenSubmenuShowsTheAlternatesInTheWholeTreeAndKeepsItOpen) {
    std::vector<MenuItem> model = commandPair("A");
    model[1].title = "Ein viel l\u00E4ngerer Titel, der erst mit Alt erscheint, kopieren";
    model.push_back(groupOf("Gruppe", commandPair("Innen")));
    model.push_back(item("\u00DCber Kelvane"));
    const auto menu = makeQMenu(model, {});
    const QRect screen = screenGeometry();
    poppedUp(*menu, {screen.right() - menu->sizeHint().width(), 100});
    QMenu& submenu = hoveredOpen(*menu, *menu->actions()[2]);

    const std::vector<std::string> normal{"A", "Gruppe", "\u00DCber Kelvane"};
    const std::vector<std::string> alternates{model[1].title, "Gruppe", "\u00DCber Kelvane"};
    EXPECT_EQ(visibleTexts(*menu), normal);
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen"});

    QTest::keyPress(&submenu, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_TRUE(submenu.isVisible()) << "Alt must not close the menu it is pressed in";
    EXPECT_EQ(visibleTexts(*menu), alternates);
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen kopieren"});
    EXPECT_LE(menu->geometry().right(), screen.right());
    EXPECT_FALSE(submenu.geometry().intersects(menu->geometry()));

    QTest::keyRelease(&submenu, Qt::Key_Alt);
    EXPECT_TRUE(submenu.isVisible());
    EXPECT_EQ(visibleTexts(*menu), normal) << "releasing Alt in a submenu restores every level";
    EXPECT_EQ(visibleTexts(submenu), std::vector<std::string>{"Innen"});
}

TEST(QtMenu, aSubmenusItemsAreMadeOnceWhenItFirstOpensInTheStateOfTheTree) {
    MenuItem inner = item("Innen", std::nullopt);
    inner.submenu = commandPair("Tief");
    MenuItem group = item("Gruppe", std::nullopt);
    group.submenu = std::vector<MenuItem>{inner};
    const auto menu = makeQMenu({group}, {});
    QMenu& submenu = *menu->actions()[0]->menu();
    EXPECT_TRUE(submenu.actions().isEmpty()) << "nothing is made before the submenu opens";

    QKeyEvent altPressed(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(menu.get(), &altPressed);
    opened(*menu->actions()[0]);
    EXPECT_EQ(visibleTexts(opened(*submenu.actions()[0])),
              std::vector<std::string>{"Tief kopieren"})
        << "a submenu opened while Alt is held shows the alternates";
    opened(*menu->actions()[0]);
    EXPECT_EQ(submenu.actions().size(), 1) << "opening again makes nothing twice";
}

TEST(QtMenu, keyEquivalentsOfTheWholeTreeChooseTheirItemWhileAnyMenuIsOpenAndCloseIt) {
    struct Case {
        QKeyCombination pressed;
        std::optional<MenuAction> action;
        std::optional<std::string> command;
    };
    const std::vector<Case> cases{
        {Qt::ControlModifier | Qt::Key_K, MenuAction::runCommand, "echo Sichtbar"},
        {Qt::ControlModifier | Qt::AltModifier | Qt::Key_K, MenuAction::copyCommand,
         "echo Sichtbar"},
        {Qt::ControlModifier | Qt::Key_J, MenuAction::runCommand, "echo Tief"},
        {Qt::ControlModifier | Qt::Key_Q, MenuAction::quit, std::nullopt},
        {Qt::ControlModifier | Qt::Key_X, std::nullopt, std::nullopt},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(QKeySequence(testCase.pressed).toString().toStdString());
        std::vector<MenuItem> visible = commandPair("Sichtbar");
        visible[0] = withKey(visible[0], "k");
        visible[1] = withKey(visible[1], "k", {Modifiers::command, Modifiers::option});
        std::vector<MenuItem> deep = commandPair("Tief");
        deep[0] = withKey(deep[0], "j");
        visible.push_back(groupOf("Noch nicht ge\u00F6ffnet", deep));
        MenuModel model = MenuBuilder::menuModel(std::nullopt, std::nullopt, true);
        model.insert(model.begin(), groupOf("Gruppe", visible));
        std::optional<MenuAction> action;
        std::optional<std::string> command;
        const auto menu =
            makeQMenu(model, [&](MenuAction chosen, const std::optional<ShellCommand>& shell) {
                EXPECT_FALSE(action) << "chosen once";
                action = chosen;
                command = shell ? std::optional(shell->command) : std::nullopt;
            });
        poppedUp(*menu, {0, 0});
        QMenu& submenu = hoveredOpen(*menu, *menu->actions()[0]);

        QTest::keyClick(&submenu, testCase.pressed.key(), testCase.pressed.keyboardModifiers());
        EXPECT_EQ(action, testCase.action);
        EXPECT_EQ(command, testCase.command);
        EXPECT_EQ(menu->isVisible(), !testCase.action) << "a chosen item closes the menu";
        EXPECT_EQ(submenu.isVisible(), !testCase.action);
    }
}

TEST(QtMenu, aMenuTallerThanTheScreenScrollsInOneColumnOnlyWithThePointerOnItsArrow) {
    std::vector<MenuItem> model;
    for (int index = 0; index < 300; ++index)
        model.push_back(item("Befehl " + std::to_string(index)));
    const auto menu = makeQMenu(model, {});
    poppedUp(*menu, {0, screenGeometry().bottom()});
    EXPECT_LE(menu->height(), screenGeometry().height());
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(menu->actionGeometry(actions.back()).left(),
              menu->actionGeometry(actions.front()).left());

    const auto scrolls = [&menu](QPoint local) {
        QMouseEvent move(QEvent::MouseMove, local, menu->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(menu.get(), &move);
        // The scroller steps on a timer of the menu's own.
        return !QAbstractEventDispatcher::instance()->registeredTimers(menu.get()).isEmpty();
    };
    EXPECT_FALSE(scrolls({10, menu->height() + 8})) << "the pointer on the tray icon below";
    EXPECT_TRUE(scrolls({10, menu->height() - 2}));
}

TEST(QtMenu, submenusOpenBesideTheirParentOnTheSideWithRoomNeverOverAnOpenMenu) {
    const auto menu =
        makeQMenu({groupOf("Erste", {groupOf("Zweite", {groupOf("Dritte", {item("Tief")})})})}, {});
    const QRect screen = screenGeometry();
    for (const int left : {0, screen.right() - menu->sizeHint().width()}) {
        SCOPED_TRACE(left);
        poppedUp(*menu, {left, 0});
        QMenu& second = hoveredOpen(*menu, *menu->actions()[0]);
        QMenu& third = hoveredOpen(second, *second.actions()[0]);
        QMenu& fourth = hoveredOpen(third, *third.actions()[0]);
        const std::vector<const QMenu*> open{menu.get(), &second, &third, &fourth};
        for (std::size_t index = 1; index < open.size(); ++index) {
            SCOPED_TRACE(open[index]->title().toStdString());
            EXPECT_TRUE(screen.contains(open[index]->geometry()));
            for (std::size_t before = 0; before < index; ++before)
                EXPECT_FALSE(open[index]->geometry().intersects(open[before]->geometry()));
        }
        menu->hide();
    }
}

} // namespace
} // namespace kelvane
