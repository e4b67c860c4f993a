#include "ui/components/scheme_widgets.h"

#include "ui/components/palette.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>

namespace quomble {

namespace {

// The desktop's style with a tint of the selection colour on the tab under the mouse (the
// common desktop styles draw no such hover of their own).
class TabHoverStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        const State hovered = State_MouseOver | State_Enabled;
        if (element == CE_TabBarTabShape && (option->state & hovered) == hovered &&
            !(option->state & State_Selected)) {
            QColor tint = option->palette.color(QPalette::Highlight);
            tint.setAlpha(70);
            painter->fillRect(option->rect.adjusted(2, 2, -2, -1), tint);
        }
    }
};

}  // namespace

void makeCellColourReadable(QStyleOptionViewItem* option, const QModelIndex& index)
{
    const QVariant colour = index.data(Qt::ForegroundRole);
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    if (!colour.isValid() || !view)
        return;
    const QWidget* ground = view->viewport();
    option->palette.setColor(
        QPalette::Text,
        palette::textOn(colour.value<QColor>(), ground->palette().color(ground->backgroundRole())));
}

void highlightTabsUnderMouse(QTabWidget* tabs)
{
    QTabBar* bar = tabs->tabBar();
    auto* style = new TabHoverStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(bar);
    bar->setStyle(style);
    bar->setAttribute(Qt::WA_Hover, true);
}

}  // namespace quomble
