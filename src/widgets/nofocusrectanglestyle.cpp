#include "nofocusrectanglestyle.h"

#include <QPushButton>
#include <QTreeWidget>

NoFocusRectangleStyle::NoFocusRectangleStyle() = default;

void NoFocusRectangleStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                          QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameFocusRect
        && (qobject_cast<const QTreeWidget *>(widget) || qobject_cast<const QPushButton *>(widget)))
        return;
    QCommonStyle::drawPrimitive(element, option, painter, widget);
}

void NoFocusRectangleStyle::drawControl(ControlElement element, const QStyleOption *option,
                                        QPainter *painter, const QWidget *widget) const
{
    if (element == CE_PushButton && qobject_cast<const QTreeWidget *>(widget))
        return;
    QCommonStyle::drawControl(element, option, painter, widget);
}
