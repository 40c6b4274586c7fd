#pragma once

#include <QCommonStyle>

// The common style without focus rectangles on tree widgets and push buttons, and
// without push-button bevels on tree widgets.
class NoFocusRectangleStyle : public QCommonStyle
{
    Q_OBJECT
public:
    NoFocusRectangleStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
