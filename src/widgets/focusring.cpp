#include "focusring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {

const char keyboardFocusProperty[] = "zorvaKeyboardFocus";
// Amber stands out on the dark bar, the blue panel and the light dialogs alike.
const QColor ringColour(0xff, 0xc8, 0x2e);

class FocusRing final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // Coming back to the window keeps the ring as it was.
            if (reason != Qt::ActiveWindowFocusReason)
                widget->setProperty(keyboardFocusProperty, reason != Qt::MouseFocusReason);
        } else if (event->type() == QEvent::Paint && widget->hasFocus()
                   && widget->property(keyboardFocusProperty).toBool()) {
            static_cast<QObject *>(widget)->event(event); // the widget paints itself first
            QPainter painter(widget);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(ringColour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1), 4, 4);
            return true;
        }
        return false;
    }
};

} // namespace

void showKeyboardFocus(QWidget *widget)
{
    static QPointer<FocusRing> ring;
    if (!ring)
        ring = new FocusRing(qApp);
    widget->installEventFilter(ring);
}
