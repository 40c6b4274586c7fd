#pragma once

#include "qskinobject.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QMouseEvent;
class QWidget;

// Which part of a frameless window the mouse is on: an edge, a corner, or the centre.
enum class FrameSide {
    Centre,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight
};

// pos in window coordinates; range is the frame's grab width in pixels.
FrameSide frameSideAt(const QPoint &pos, const QSize &windowSize, int range);

// The window rectangle after dragging side by delta from start, kept within the limits;
// the edge opposite to the dragged one stays where it was.
QRect resizedGeometry(const QRect &start, FrameSide side, const QPoint &delta, const QSize &minimum,
    const QSize &maximum);

// Grab width from the left frame's width, the title bar's height and the close button's height.
int frameGrabRange(int leftWidth, int topHeight, int closeHeight);

Qt::CursorShape cursorShapeFor(FrameSide side);

// Lets the user move a frameless skinned window by dragging it and resize it by its edges.
class QSkinWidgetResizeHandler : public QObject
{
    Q_OBJECT
public:
    QSkinWidgetResizeHandler(QSkinObject *skin, QWidget *window);

    void setMovingEnabled(bool enabled) { m_movingEnabled = enabled; }
    void setResizingEnabled(bool enabled) { m_resizingEnabled = enabled; }
    void setSizeProtection(bool enabled) { m_sizeProtection = enabled; }
    int range() const;
    FrameSide mode() const { return m_mode; }

signals:
    void activate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handlePress(QMouseEvent *event);
    bool handleMove(QMouseEvent *event);
    bool handleRelease(QMouseEvent *event);

    // Windows may delete their skin object before themselves (and so before this child).
    QPointer<QSkinObject> m_skin;
    QWidget *m_window = nullptr;
    QWidget *m_child = nullptr;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
    FrameSide m_mode = FrameSide::Centre;
    bool m_buttonDown = false;
    bool m_movingEnabled = true;
    bool m_resizingEnabled = true;
    bool m_sizeProtection = true;
};
