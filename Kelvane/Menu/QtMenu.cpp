#include "Kelvane/Menu/QtMenu.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"

#include <QGuiApplication>
#include <QKeyEvent>

namespace kelvane {
namespace {

const char* const alternateProperty = "kelvaneAlternate";
const char* const hasAlternateProperty = "kelvaneHasAlternate";

/// Swaps every primary item with its alternate, in the whole menu tree, while Alt is held.
class AlternateSwitcher : public QObject {
public:
    explicit AlternateSwitcher(QMenu& root) : QObject(&root), m_root(root) {
        connect(&root, &QMenu::aboutToShow, this, [this] {
            show(QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier));
        });
    }

    void watch(QMenu& menu) { menu.installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Alt)
                show(event->type() == QEvent::KeyPress);
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
    bool m_showsAlternates = false;
};

/// A title as QAction shows it literally: "&" would mark a mnemonic and a tab would start the
/// shortcut column.
QString actionText(const std::string& title) {
    return QString::fromStdString(title)
        .replace(QStringLiteral("&"), QStringLiteral("&&"))
        .replace(u'\t', u' ');
}

/// Tooltips are taken as rich text when they look like markup; commands often do ("<", "&").
QString plainToolTip(const std::string& text) {
    return "<p style='white-space:pre-wrap'>" + QString::fromStdString(text).toHtmlEscaped() +
           "</p>";
}

/// Keeps the model a menu was made from and makes each submenu's items when the submenu is first
/// about to show, so that rebuilding the menu of a big configuration costs its top level only.
class MenuTree : public QObject {
public:
    MenuTree(QMenu& root, MenuModel model, MenuPerform perform)
        : QObject(&root), m_model(std::move(model)), m_perform(std::move(perform)),
          m_switcher(new AlternateSwitcher(root)) {
        fill(root, m_model);
    }

private:
    void fill(QMenu& menu, const MenuModel& model) {
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
            action.setToolTip(plainToolTip(*item.toolTip));
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

    const MenuModel m_model;
    const MenuPerform m_perform;
    AlternateSwitcher* m_switcher;
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
