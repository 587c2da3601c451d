#include "Kelvane/Menu/QtMenu.hpp"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyle>

#include <array>
#include <string_view>

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

private:
    void show(bool alternates) { apply(m_root, alternates); }

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

void fill(QMenu& menu, const MenuModel& model, const MenuPerform& perform,
          AlternateSwitcher& switcher) {
    switcher.watch(menu);
    menu.setToolTipsVisible(true);
    for (const MenuItem& item : model) {
        if (item.kind == MenuItem::Kind::separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (item.submenu) {
            QMenu* submenu = menu.addMenu(actionText(item.title));
            fill(*submenu, *item.submenu, perform, switcher);
            action = submenu->menuAction();
        } else {
            action = menu.addAction(actionText(item.title));
        }
        action->setEnabled(item.enabled);
        if (item.toolTip)
            action->setToolTip(plainToolTip(*item.toolTip));
        if (item.icon)
            action->setIcon(symbolIcon(item.icon->symbolName));
        if (item.keyEquivalent)
            action->setShortcut(keySequence(*item.keyEquivalent));
        if (item.isAlternate) {
            action->setProperty(alternateProperty, true);
            action->setVisible(false);
            const QList<QAction*> actions = menu.actions();
            if (actions.size() >= 2)
                actions[actions.size() - 2]->setProperty(hasAlternateProperty, true);
        }
        if (item.action) {
            QObject::connect(action, &QAction::triggered, &menu,
                             [perform, action = *item.action, command = item.command] {
                                 perform(action, command);
                             });
        }
    }
}

} // namespace

std::unique_ptr<QMenu> makeQMenu(const MenuModel& model, const MenuPerform& perform) {
    auto menu = std::make_unique<QMenu>();
    auto* switcher = new AlternateSwitcher(*menu);
    fill(*menu, model, perform, *switcher);
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

QIcon symbolIcon(const std::string& symbolName) {
    struct Symbol {
        std::string_view name;
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    static constexpr std::array symbols{
        Symbol{"terminal", "utilities-terminal", QStyle::SP_ComputerIcon},
        Symbol{"exclamationmark.triangle.fill", "dialog-warning", QStyle::SP_MessageBoxWarning},
        Symbol{"info.circle", "dialog-information", QStyle::SP_MessageBoxInformation},
        Symbol{"magnifyingglass", "edit-find", QStyle::SP_FileDialogContentsView},
        Symbol{"gearshape", "preferences-system", QStyle::SP_FileDialogDetailedView},
        Symbol{"slider.horizontal.3", "preferences-other", QStyle::SP_FileDialogListView},
        Symbol{"xmark.circle.fill", "edit-clear", QStyle::SP_LineEditClearButton},
    };
    for (const Symbol& symbol : symbols) {
        if (symbol.name == symbolName)
            return QIcon::fromTheme(symbol.themeName,
                                    QApplication::style()->standardIcon(symbol.fallback));
    }
    const QString name = QString::fromStdString(symbolName);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return {};
}

} // namespace kelvane
