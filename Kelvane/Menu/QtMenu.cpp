#include "Kelvane/Menu/QtMenu.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/Menu/MenuPlacement.hpp"
#include "Kelvane/Menu/MenuStyle.hpp"
#include "Kelvane/Menu/MenuToolTip.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace kelvane {
namespace {

const char* const alternateProperty = "kelvaneAlternate";
const char* const hasAlternateProperty = "kelvaneHasAlternate";

/// Swaps every primary item with its alternate, in the whole menu tree, while Alt is held.
class AlternateSwitcher : public QObject {
public:
    /// `switched` is called after each swap, when the menus may have changed their widths.
    AlternateSwitcher(QMenu& root, std::function<void()> switched)
        : QObject(&root), m_root(root), m_switched(std::move(switched)) {
        connect(&root, &QMenu::aboutToShow, this, [this] {
            show(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier));
        });
    }

    void watch(QMenu& menu) { menu.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Alt) {
                show(event->type() == QEvent::KeyPress);
                m_switched();
            }
        }
        return QObject::eventFilter(watched, event);
    }

    /// Gives a menu whose items were made just now the state the rest of the tree is in.
    void adopt(QMenu& menu) const { apply(menu, m_showsAlternates); }

private:
    void show(bool alternates) {
        m_showsAlternates = alternates;
        apply(m_root, alternates);
    }

    static void apply(QMenu& menu, bool alternates) {
        for (QAction* action : menu.actions()) {
            if (action->property(alternateProperty).toBool())
                action->setVisible(alternates);
            else if (action->property(hasAlternateProperty).toBool())
                action->setVisible(!alternates);
            if (QMenu* submenu = action->menu())
                apply(*submenu, alternates);
        }
    }

    QMenu& m_root;
    const std::function<void()> m_switched;
    bool m_showsAlternates = false;
};

/// A title as QAction shows it literally: "&" would mark a mnemonic and a tab would start the
/// shortcut column.
QString actionText(const std::string& title) {
    return QString::fromStdString(title)
        .replace(QStringLiteral("&"), QStringLiteral("&&"))
        .replace(u'\t', u' ');
}

/// The key combination a key press stands for, as key equivalents name it.
QKeyCombination pressedCombination(const QKeyEvent& event) {
    const Qt::KeyboardModifiers relevant =
        Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier;
    return QKeyCombination(event.modifiers() & relevant, static_cast<Qt::Key>(event.key()));
}

/// The first item of the tree, submenus included, that a key combination chooses.
const MenuItem* itemWithKey(const MenuModel& model, QKeyCombination combination) {
    for (const MenuItem& item : model) {
        if (item.enabled && item.action && item.keyEquivalent) {
            const QKeySequence sequence = keySequence(*item.keyEquivalent);
            if (!sequence.isEmpty() && sequence[0] == combination)
                return &item;
        }
        if (item.submenu) {
            if (const MenuItem* inner = itemWithKey(*item.submenu, combination))
                return inner;
        }
    }
    return nullptr;
}

/// Keeps the model a menu was made from and makes each submenu's items when the submenu is first
/// about to show, so that rebuilding the menu of a big configuration costs its top level only.
/// While any of its menus is open, the key equivalents of the whole tree choose their items, and
/// each menu keeps beside its parent and on its screen.
class MenuTree : public QObject {
public:
    MenuTree(QMenu& root, MenuModel model, MenuPerform perform)
        : QObject(&root), m_model(std::move(model)), m_perform(std::move(perform)),
          m_switcher(new AlternateSwitcher(root, [this] { placeOpenMenus(); })) {
        root.setStyle(&menuStyle());
        fill(root, m_model);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (const MenuItem* item =
                    itemWithKey(m_model, pressedCombination(*static_cast<QKeyEvent*>(event)))) {
                // Taking the override keeps Qt's own shortcuts from choosing the item again.
                if (event->type() == QEvent::KeyPress)
                    choose(*item);
                event->accept();
                return true;
            }
            break;
        case QEvent::MouseMove:
            // Qt takes a pointer anywhere below (or above) a scrolling menu for one on its scroll
            // arrow, so a menu opened above a tray icon would scroll on while the pointer rests on
            // the icon.
            if (!overOpenMenu(static_cast<QMouseEvent*>(event)->globalPosition().toPoint()))
                return true;
            break;
        case QEvent::Show:
            if (auto* menu = qobject_cast<QMenu*>(watched))
                place(*menu);
            break;
        case QEvent::Hide:
            QToolTip::hideText();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fill(QMenu& menu, const MenuModel& model) {
        m_menus.push_back(&menu);
        menu.installEventFilter(this);
        m_switcher->watch(menu);
        menu.setToolTipsVisible(true);
        QAction* previous = nullptr;
        for (const MenuItem& item : model) {
            if (item.kind == MenuItem::Kind::separator) {
                previous = menu.addSeparator();
                continue;
            }
            QAction* action = nullptr;
            if (item.submenu) {
                QMenu* submenu = menu.addMenu(actionText(item.title));
                // Set before the first showing, which already lays the items out.
                submenu->setStyle(&menuStyle());
                connect(
                    submenu, &QMenu::aboutToShow, this,
                    [this, submenu, &items = *item.submenu] {
                        fill(*submenu, items);
                        m_switcher->adopt(*submenu);
                    },
                    Qt::SingleShotConnection);
                action = submenu->menuAction();
            } else {
                action = menu.addAction(actionText(item.title));
            }
            configure(*action, item);
            if (item.isAlternate && previous)
                previous->setProperty(hasAlternateProperty, true);
            previous = action;
        }
    }

    void configure(QAction& action, const MenuItem& item) {
        action.setEnabled(item.enabled);
        if (item.toolTip)
            action.setToolTip(menuToolTip(*item.toolTip));
        if (item.icon)
            action.setIcon(symbolIcon(item.icon->symbolName));
        if (item.keyEquivalent)
            action.setShortcut(keySequence(*item.keyEquivalent));
        if (item.isAlternate) {
            action.setProperty(alternateProperty, true);
            action.setVisible(false);
        }
        if (item.action) {
            // The connection ends with the tree, so the item it points into is always there.
            connect(&action, &QAction::triggered, this,
                    [this, &item] { m_perform(*item.action, item.command); });
        }
    }

    /// As choosing with the mouse does: every open menu closes, then the item acts.
    void choose(const MenuItem& item) {
        for (auto menu = m_menus.rbegin(); menu != m_menus.rend(); ++menu)
            (*menu)->hide();
        m_perform(*item.action, item.command);
    }

    bool overOpenMenu(QPoint point) const {
        return std::any_of(m_menus.begin(), m_menus.end(), [point](const QMenu* menu) {
            return menu->isVisible() && menu->geometry().contains(point);
        });
    }

    static const QMenu* openParent(const QMenu& menu) {
        const auto* parent = qobject_cast<const QMenu*>(menu.parentWidget());
        return parent && parent->isVisible() ? parent : nullptr;
    }

    /// A submenu goes beside its parent, never over it while the screen has room on either side;
    /// the root keeps its place as far as its screen allows.
    static void place(QMenu& menu) {
        const QScreen* screen = menu.screen();
        if (!screen)
            return;
        const QRect bounds = screen->geometry();
        QPoint topLeft = MenuPlacement::withinScreen(menu.geometry(), bounds);
        if (const QMenu* parent = openParent(menu)) {
            const QMenu* grandparent = openParent(*parent);
            const bool towardsLeft = grandparent && parent->x() < grandparent->x();
            topLeft.setX(
                MenuPlacement::submenuLeft(parent->geometry(), menu.width(), bounds, towardsLeft));
        }
        if (topLeft != menu.pos())
            menu.move(topLeft);
    }

    /// Parents first, so that each submenu is placed beside where its parent now is.
    void placeOpenMenus() const {
        for (QMenu* menu : m_menus) {
            if (menu->isVisible())
                place(*menu);
        }
    }

    const MenuModel m_model;
    const MenuPerform m_perform;
    AlternateSwitcher* m_switcher;
    /// Every menu made so far, each after its parent.
    std::vector<QMenu*> m_menus;
};

} // namespace

std::unique_ptr<QMenu> makeQMenu(MenuModel model, MenuPerform perform) {
    auto menu = std::make_unique<QMenu>();
    new MenuTree(*menu, std::move(model), std::move(perform));
    return menu;
}

QKeySequence keySequence(const MenuKeyEquivalent& equivalent) {
    const QList<uint> codePoints = QString::fromStdString(equivalent.key).toUcs4();
    if (codePoints.size() != 1)
        return {};
    // Qt names letter keys by their upper-case form; the simple mapping keeps "ß" one key.
    const char32_t code = QChar::toUpper(static_cast<char32_t>(codePoints.front()));
    using Modifiers = KeyboardShortcut::Modifiers;
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ControlModifier, equivalent.modifiers.contains(Modifiers::command));
    modifiers.setFlag(Qt::MetaModifier, equivalent.modifiers.contains(Modifiers::control));
    modifiers.setFlag(Qt::AltModifier, equivalent.modifiers.contains(Modifiers::option));
    modifiers.setFlag(Qt::ShiftModifier, equivalent.modifiers.contains(Modifiers::shift));
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(code)));
}

} // namespace kelvane
