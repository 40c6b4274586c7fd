#include "qprogressindicator.h"

#include <QPainter>
#include <QTimerEvent>

namespace {
constexpr int CapsuleCount = 12;
constexpr int DegreesPerCapsule = 360 / CapsuleCount;
} // namespace

ProgressIndicatorGeometry progressIndicatorGeometry(int width, int height)
{
    const int side = qMin(width, height);
    ProgressIndicatorGeometry g;
    g.outerRadius = static_cast<int>((side - 1) * 0.5);
    g.innerRadius = static_cast<int>((side - 1) * 0.5 * 0.38);
    g.capsuleHeight = g.outerRadius - g.innerRadius;
    // Slimmer capsules on big indicators keep the gaps between them visible.
    g.capsuleWidth = static_cast<int>(g.capsuleHeight * (side > 32 ? 0.23 : 0.35));
    g.cornerRadius = g.capsuleWidth / 2;
    return g;
}

QProgressIndicator::QProgressIndicator(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

bool QProgressIndicator::isAnimated() const
{
    return m_timerId != -1;
}

QSize QProgressIndicator::sizeHint() const
{
    return QSize(40, 40);
}

int QProgressIndicator::heightForWidth(int width) const
{
    return width;
}

void QProgressIndicator::startAnimation()
{
    m_angle = 0;
    if (m_timerId == -1)
        m_timerId = startTimer(m_delay);
}

void QProgressIndicator::stopAnimation()
{
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
    update();
}

void QProgressIndicator::setAnimationDelay(int delay)
{
    const bool running = m_timerId != -1;
    if (running)
        killTimer(m_timerId);
    m_delay = delay;
    m_timerId = running ? startTimer(m_delay) : -1;
}

void QProgressIndicator::setDisplayedWhenStopped(bool state)
{
    m_displayedWhenStopped = state;
    update();
}

void QProgressIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void QProgressIndicator::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timerId) {
        QWidget::timerEvent(event);
        return;
    }
    m_angle = (m_angle + DegreesPerCapsule) % 360;
    update();
}

void QProgressIndicator::paintEvent(QPaintEvent *)
{
    if (!m_displayedWhenStopped && !isAnimated())
        return;
    const ProgressIndicatorGeometry g = progressIndicatorGeometry(width(), height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < CapsuleCount; ++i) {
        QColor colour = m_color;
        colour.setAlphaF(1.0 - static_cast<double>(i) / CapsuleCount);
        painter.setBrush(colour);
        painter.save();
        painter.translate(rect().center());
        painter.rotate(m_angle - DegreesPerCapsule * i);
        painter.drawRoundedRect(static_cast<int>(-g.capsuleWidth * 0.5),
                                -(g.innerRadius + g.capsuleHeight), g.capsuleWidth,
                                g.capsuleHeight, g.cornerRadius, g.cornerRadius);
        painter.restore();
    }
}
