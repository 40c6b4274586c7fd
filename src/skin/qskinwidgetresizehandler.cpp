#include "qskinwidgetresizehandler.h"

#include "qskinobject.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

bool onLeft(FrameSide side)
{
    return side == FrameSide::Left || side == FrameSide::TopLeft || side == FrameSide::BottomLeft;
}

bool onRight(FrameSide side)
{
    return side == FrameSide::Right || side == FrameSide::TopRight
        || side == FrameSide::BottomRight;
}

bool onTop(FrameSide side)
{
    return side == FrameSide::Top || side == FrameSide::TopLeft || side == FrameSide::TopRight;
}

bool onBottom(FrameSide side)
{
    return side == FrameSide::Bottom || side == FrameSide::BottomLeft
        || side == FrameSide::BottomRight;
}

} // namespace

FrameSide frameSideAt(const QPoint &pos, const QSize &windowSize, int range)
{
    const bool left = pos.x() < range;
    const bool right = !left && pos.x() >= windowSize.width() - range;
    const bool top = pos.y() < range;
    const bool bottom = !top && pos.y() >= windowSize.height() - range;
    if (top)
        return left ? FrameSide::TopLeft : right ? FrameSide::TopRight : FrameSide::Top;
    if (bottom)
        return left ? FrameSide::BottomLeft : right ? FrameSide::BottomRight : FrameSide::Bottom;
    return left ? FrameSide::Left : right ? FrameSide::Right : FrameSide::Centre;
}

QRect resizedGeometry(const QRect &start, FrameSide side, const QPoint &delta, const QSize &minimum,
    const QSize &maximum)
{
    QRect result = start;
    if (onLeft(side)) {
        const int width = qBound(minimum.width(), start.width() - delta.x(), maximum.width());
        result.setLeft(start.right() - width + 1);
    } else if (onRight(side)) {
        result.setWidth(qBound(minimum.width(), start.width() + delta.x(), maximum.width()));
    }
    if (onTop(side)) {
        const int height = qBound(minimum.height(), start.height() - delta.y(), maximum.height());
        result.setTop(start.bottom() - height + 1);
    } else if (onBottom(side)) {
        result.setHeight(qBound(minimum.height(), start.height() + delta.y(), maximum.height()));
    }
    return result;
}

int frameGrabRange(int leftWidth, int topHeight, int closeHeight)
{
    const int frame = qMin(leftWidth, (topHeight - closeHeight) / 2);
    return frame / 2 < 5 ? frame : frame / 2;
}

Qt::CursorShape cursorShapeFor(FrameSide side)
{
    switch (side) {
    case FrameSide::Left:
    case FrameSide::Right:
        return Qt::SizeHorCursor;
    case FrameSide::Top:
    case FrameSide::Bottom:
        return Qt::SizeVerCursor;
    case FrameSide::TopLeft:
    case FrameSide::BottomRight:
        return Qt::SizeFDiagCursor;
    case FrameSide::TopRight:
    case FrameSide::BottomLeft:
        return Qt::SizeBDiagCursor;
    case FrameSide::Centre:
        break;
    }
    return Qt::ArrowCursor;
}

QSkinWidgetResizeHandler::QSkinWidgetResizeHandler(QSkinObject *skin, QWidget *window)
    : QObject(window)
    , m_skin(skin)
    , m_window(window)
    , m_child(window)
{
    m_child->installEventFilter(this);
}

int QSkinWidgetResizeHandler::range() const
{
    return frameGrabRange(m_skin->elementSize(QStringLiteral("border_left")).width(),
        m_skin->elementSize(QStringLiteral("border_top")).height(),
        m_skin->closeRegion().boundingRect().height());
}

bool QSkinWidgetResizeHandler::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_child || !m_skin || QApplication::activePopupWidget()
        || m_window->isMaximized())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return handlePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return handleMove(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return handleRelease(static_cast<QMouseEvent *>(event));
    default:
        return false;
    }
}

bool QSkinWidgetResizeHandler::handlePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_window->rect().contains(event->pos()))
        return false;
    m_skin->mousePressEvent(event);
    emit activate();
    m_mode = m_resizingEnabled ? frameSideAt(event->pos(), m_window->size(), range())
                               : FrameSide::Centre;
    m_pressGlobal = event->globalPos();
    m_pressGeometry = m_window->geometry();
    if (m_mode == FrameSide::Centre && !m_movingEnabled)
        return false;
    m_buttonDown = true;
    // Keeps the moves coming while the pointer runs ahead of a growing edge.
    m_window->grabMouse();
    return true;
}

bool QSkinWidgetResizeHandler::handleMove(QMouseEvent *event)
{
    if (!m_buttonDown) {
        const FrameSide side = m_resizingEnabled
            ? frameSideAt(event->pos(), m_window->size(), range())
            : FrameSide::Centre;
        if (side == FrameSide::Centre)
            m_window->unsetCursor();
        else
            m_window->setCursor(cursorShapeFor(side));
        return false;
    }
    const QPoint delta = event->globalPos() - m_pressGlobal;
    if (m_mode == FrameSide::Centre) {
        m_window->move(m_pressGeometry.topLeft() + delta);
    } else {
        const QSize minimum = m_sizeProtection ? m_window->minimumSize() : QSize(0, 0);
        m_window->setGeometry(
            resizedGeometry(m_pressGeometry, m_mode, delta, minimum, m_window->maximumSize()));
    }
    return true;
}

bool QSkinWidgetResizeHandler::handleRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool wasDown = m_buttonDown;
    m_buttonDown = false;
    m_window->releaseMouse();
    m_window->releaseKeyboard();
    m_skin->mouseReleaseEvent(event);
    return wasDown;
}
