#include "Kelvane/Menu/MenuStyle.hpp"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

namespace kelvane {
namespace {

class MenuStyle : public QProxyStyle {
public:
    MenuStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
        setParent(qApp);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        switch (hint) {
        case SH_Menu_Scrollable:
            return 1;
        case SH_MenuBar_AltKeyNavigation:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};

} // namespace

QStyle& menuStyle() {
    static QPointer<QStyle> style;
    if (!style)
        style = new MenuStyle;
    return *style;
}

} // namespace kelvane
