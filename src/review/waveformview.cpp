#include "waveformview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int handleReach = 6; // pixels around a mark that pick it up
constexpr qint64 insidePauseMs = 150;
const QColor background(0, 0, 0);
const QColor modelColour(0x13, 0x7e, 0xb6);
const QColor takeColour(0xe0, 0x8a, 0x2c);
const QColor loopColour(0xaa, 0x99, 0x00, 70);
const QColor markColour(0xee, 0xcc, 0x22);

} // namespace

qint64 snapToPause(qint64 ms, const std::vector<audio::Segment> &pauses, qint64 reachMs)
{
    qint64 best = ms;
    qint64 bestDistance = reachMs + 1;
    for (const audio::Segment &pause : pauses) {
        const auto start = qint64(std::llround(pause.start * 1000));
        const auto end = qint64(std::llround(pause.end * 1000));
        const qint64 distance = ms < start ? start - ms : ms > end ? ms - end : 0;
        if (distance >= bestDistance)
            continue;
        bestDistance = distance;
        const qint64 inside = std::min(insidePauseMs, (end - start) / 2);
        best = std::clamp(ms, start + inside, end - inside);
    }
    return best;
}

WaveformView::WaveformView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumHeight(60);
}

void WaveformView::setDuration(qint64 ms)
{
    if (ms == m_durationMs)
        return;
    m_durationMs = ms;
    m_wavesValid = false;
    update();
}

void WaveformView::setModel(const audio::PeakPyramid &peaks, double madeFraction)
{
    m_model = peaks;
    m_madeFraction = madeFraction;
    m_wavesValid = false;
    update();
}

void WaveformView::setPauses(std::vector<audio::Segment> pauses)
{
    m_pauses = std::move(pauses);
}

void WaveformView::setTake(const audio::PeakPyramid &peaks, qint64 offsetMs, const QString &label)
{
    m_take = peaks;
    m_hasTake = true;
    m_takeOffsetMs = offsetMs;
    m_takeLabel = label;
    m_wavesValid = false;
    update();
}

void WaveformView::clearTake()
{
    m_take = {};
    m_hasTake = false;
    m_takeLabel.clear();
    m_wavesValid = false;
    update();
}

void WaveformView::setPosition(qint64 ms)
{
    if (ms == m_positionMs)
        return;
    // Only the columns the cursor leaves and enters are painted again.
    const int before = xAt(m_positionMs);
    m_positionMs = ms;
    const int after = xAt(ms);
    update(QRect(std::min(before, after) - 1, 0, std::abs(after - before) + 3, height()));
}

void WaveformView::setMarks(qint64 markIn, qint64 markOut)
{
    m_markIn = markIn;
    m_markOut = markOut;
    update();
}

qint64 WaveformView::axisMs() const
{
    return std::max(m_durationMs, qint64(std::llround(m_model.seconds() * 1000)));
}

int WaveformView::xAt(qint64 ms) const
{
    const qint64 axis = axisMs();
    return axis > 0 ? int(std::llround(double(ms) * width() / double(axis))) : 0;
}

qint64 WaveformView::timeAt(int x) const
{
    return width() > 0
        ? std::clamp<qint64>(std::llround(double(x) * double(axisMs()) / width()), 0, axisMs())
        : 0;
}

QRect WaveformView::modelLane() const
{
    return m_hasTake ? QRect(0, 0, width(), height() * 3 / 5) : rect();
}

QRect WaveformView::takeLane() const
{
    const QRect model = modelLane();
    return QRect(0, model.bottom() + 1, width(), height() - model.height());
}

void WaveformView::drawLane(QPainter &painter, const audio::PeakPyramid &peaks, const QRect &lane,
    qint64 offsetMs, const QColor &colour) const
{
    const qint64 axis = axisMs();
    if (axis <= 0 || peaks.seconds() <= 0)
        return;
    // Only the pixels where the recording lies: a take begun late starts to the right.
    const int first = std::max(0, xAt(offsetMs));
    const int last
        = std::min(width(), xAt(offsetMs + qint64(std::llround(peaks.seconds() * 1000))));
    if (last <= first)
        return;
    const double secondsPerPixel = double(axis) / 1000 / width();
    const double from = first * secondsPerPixel - offsetMs / 1000.0;
    const std::vector<audio::PeakColumn> columns
        = peaks.columns(from, from + (last - first) * secondsPerPixel, last - first);
    const int middle = lane.center().y();
    const double half = lane.height() / 2.0 - 2;
    const QColor loud = colour.lighter(150);
    for (int i = 0; i < int(columns.size()); ++i) {
        const audio::PeakColumn &column = columns[size_t(i)];
        const int x = first + i;
        painter.setPen(colour);
        painter.drawLine(
            x, middle - int(column.maximum * half), x, middle - int(column.minimum * half));
        painter.setPen(loud);
        painter.drawLine(x, middle - int(column.rms * half), x, middle + int(column.rms * half));
    }
}

void WaveformView::drawWaves()
{
    m_waves = QPixmap(size());
    m_waves.fill(background);
    QPainter painter(&m_waves);
    drawLane(painter, m_model, modelLane(), 0, modelColour);
    painter.setPen(QColor(255, 255, 255, 150));
    if (m_hasTake) {
        drawLane(painter, m_take, takeLane(), m_takeOffsetMs, takeColour);
        painter.drawText(
            takeLane().adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, m_takeLabel);
    }
    if (m_madeFraction < 1.0) {
        const QString reading = tr("Reading the waveform: %1 %").arg(int(m_madeFraction * 100));
        painter.drawText(
            modelLane().adjusted(4, 2, -4, -2), Qt::AlignRight | Qt::AlignTop, reading);
    }
    m_wavesValid = true;
}

void WaveformView::paintEvent(QPaintEvent *event)
{
    if (!m_wavesValid || m_waves.size() != size())
        drawWaves();
    QPainter painter(this);
    painter.drawPixmap(event->rect(), m_waves, event->rect());
    const qint64 markIn = m_drag == Drag::MarkIn ? m_dragMs : m_markIn;
    const qint64 markOut = m_drag == Drag::MarkOut ? m_dragMs : m_markOut;
    if (markIn < markOut) {
        painter.fillRect(QRect(QPoint(xAt(markIn), 0), QPoint(xAt(markOut), height())), loopColour);
        painter.setPen(QPen(markColour, 2));
        for (const qint64 mark : { markIn, markOut }) {
            const int x = xAt(mark);
            painter.drawLine(x, 0, x, height());
            painter.drawLine(x - 4, 0, x + 4, 0);
        }
    }
    painter.setPen(Qt::white);
    const int cursor = xAt(m_positionMs);
    painter.drawLine(cursor, 0, cursor, height());
}

void WaveformView::resizeEvent(QResizeEvent *event)
{
    m_wavesValid = false;
    QWidget::resizeEvent(event);
}

qint64 WaveformView::dropTime(const QMouseEvent *event) const
{
    const qint64 at = timeAt(event->pos().x());
    return event->modifiers() & Qt::ShiftModifier ? at : snapToPause(at, m_pauses);
}

void WaveformView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->pos().x();
    if (m_markIn < m_markOut && std::abs(x - xAt(m_markIn)) <= handleReach)
        m_drag = Drag::MarkIn;
    else if (m_markIn < m_markOut && std::abs(x - xAt(m_markOut)) <= handleReach)
        m_drag = Drag::MarkOut;
    else
        emit seekRequested(timeAt(x));
    m_dragMs = m_drag == Drag::MarkIn ? m_markIn : m_markOut;
}

void WaveformView::mouseMoveEvent(QMouseEvent *event)
{
    const bool nearMark = m_markIn < m_markOut
        && (std::abs(event->pos().x() - xAt(m_markIn)) <= handleReach
            || std::abs(event->pos().x() - xAt(m_markOut)) <= handleReach);
    setCursor(m_drag != Drag::None || nearMark ? Qt::SizeHorCursor : Qt::PointingHandCursor);
    if (m_drag == Drag::None)
        return;
    m_dragMs = dropTime(event);
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag dragged = m_drag;
    m_drag = Drag::None;
    if (dragged == Drag::MarkIn)
        emit markInDragged(dropTime(event));
    else if (dragged == Drag::MarkOut)
        emit markOutDragged(dropTime(event));
    update();
}
