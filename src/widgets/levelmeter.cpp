#include "levelmeter.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFloorDb = -60.0;
constexpr double kYellowDb = -12.0;
constexpr double kRedDb = -3.0;
// A peak stays for about a second, then falls at 24 dB a second; a clip shows for 1.5 s.
constexpr int kHoldTicks = LevelMeter::kUpdatesPerSecond;
constexpr double kFallDbPerTick = 24.0 / LevelMeter::kUpdatesPerSecond;
constexpr int kClipTicks = LevelMeter::kUpdatesPerSecond * 3 / 2;
// One LSB short of 16-bit full scale, as the take's distortion check counts it.
constexpr float kFullScale = 32766.0f / 32768.0f;

double decibels(float level)
{
    return level > 0 ? std::max(-120.0, 20.0 * std::log10(double(level))) : -120.0;
}

} // namespace

LevelMeter::LevelMeter(QWidget *parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
{
    setAccessibleName(tr("Input level"));
    setToolTip(tr("Input level of the microphone"));
    m_timer->setInterval(1000 / kUpdatesPerSecond);
    connect(m_timer, &QTimer::timeout, this, &LevelMeter::poll);
}

void LevelMeter::setSource(std::function<LevelReading()> source)
{
    m_source = std::move(source);
}

void LevelMeter::showEvent(QShowEvent *event)
{
    // What built up before belongs to no take the learner sees.
    if (m_source)
        m_source();
    m_rmsDb = m_peakDb = -120.0;
    m_holdTicks = m_clipTicks = 0;
    m_timer->start();
    QWidget::showEvent(event);
}

void LevelMeter::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void LevelMeter::poll()
{
    m_last = m_source ? m_source() : LevelReading {};
    m_rmsDb = decibels(m_last.rms);
    const double peak = decibels(m_last.peak);
    if (peak >= m_peakDb) {
        m_peakDb = peak;
        m_holdTicks = kHoldTicks;
    } else if (m_holdTicks > 0) {
        --m_holdTicks;
    } else {
        m_peakDb = std::max(peak, m_peakDb - kFallDbPerTick);
    }
    m_clipTicks = m_last.peak >= kFullScale ? kClipTicks : std::max(0, m_clipTicks - 1);
    update();
}

int LevelMeter::xOf(double decibels) const
{
    const double fraction = std::clamp((decibels - kFloorDb) / -kFloorDb, 0.0, 1.0);
    return int(std::lround(fraction * (width() - 1)));
}

void LevelMeter::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), QColor(20, 20, 20));
    const int barEnd = xOf(m_rmsDb);
    const int yellow = xOf(kYellowDb);
    const int red = xOf(kRedDb);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(std::min(barEnd, yellow), height() - 1)), QColor(60, 200, 80));
    if (barEnd > yellow)
        painter.fillRect(QRect(QPoint(yellow, 0), QPoint(std::min(barEnd, red), height() - 1)), QColor(230, 200, 40));
    if (barEnd > red)
        painter.fillRect(QRect(QPoint(red, 0), QPoint(barEnd, height() - 1)), QColor(230, 50, 40));
    if (m_peakDb > kFloorDb) {
        painter.setPen(m_peakDb > kRedDb ? QColor(255, 90, 80) : QColor(Qt::white));
        painter.drawLine(xOf(m_peakDb), 0, xOf(m_peakDb), height() - 1);
    }
    if (m_clipTicks > 0)
        painter.fillRect(QRect(width() - 4, 0, 4, height()), QColor(255, 40, 30));
    painter.setPen(QColor(120, 120, 120));
    painter.drawRect(frame);
}
