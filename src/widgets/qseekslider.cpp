#include "qseekslider.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr int SliderHeight = 8;
const QColor UpperBarColour(168, 169, 101);
const QColor LowerBarColour(0xAA, 0x99, 0x00);

QPen barPen(const QColor &colour, int width)
{
    return QPen(QBrush(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}
} // namespace

LoopMarks normaliseLoopMarks(LoopMarks marks, int width)
{
    if (marks.markOutX == 0.0)
        marks.markOutX = width;
    if (marks.markInX == width)
        marks.markInX = 0.0;
    return marks;
}

bool hasLoopRange(const LoopMarks &marks, int width)
{
    return !(marks.markInX == 0.0 && marks.markOutX == width);
}

QLine loopUpperBar(const LoopMarks &marks, int height)
{
    const int y = height / 8;
    const int overhang = height / 4;
    return QLine(static_cast<int>(marks.markOutX + overhang), y,
                 static_cast<int>(marks.markInX - overhang), y);
}

QLine loopLowerBar(const LoopMarks &marks, int height)
{
    const int y = 5 * height / 8;
    return QLine(static_cast<int>(marks.markOutX), y, static_cast<int>(marks.markInX), y);
}

QSeekSlider::QSeekSlider(QWidget *parent)
    : Phonon::SeekSlider(parent)
{
    setFixedHeight(SliderHeight);
}

QSeekSlider::~QSeekSlider() = default;

void QSeekSlider::setValue(double value)
{
    m_valueX = width() * value;
    update();
}

void QSeekSlider::resetMark()
{
    m_markInX = 0.0;
    m_markOutX = 0.0;
    m_markOutAtEnd = true;
    update();
}

void QSeekSlider::setMarkInFlag(double markIn)
{
    m_markInX = width() * markIn;
    update();
}

void QSeekSlider::setMarkOutFlag(double markOut)
{
    m_markOutX = width() * markOut;
    m_markOutAtEnd = m_markOutX == 0.0;
    update();
}

void QSeekSlider::paintEvent(QPaintEvent *)
{
    // The whole widget, not the event's rectangle: a partial repaint must not move
    // the right end that a mark-out of 0.0 stands for.
    const int w = width();
    const int h = height();
    if (m_markOutAtEnd)
        m_markOutX = 0.0;
    const LoopMarks marks = normaliseLoopMarks({m_markInX, m_markOutX}, w);
    m_markInX = marks.markInX;
    m_markOutX = marks.markOutX;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, h);
    background.setColorAt(0.0, QColor(0xEE, 0xDD, 0xCC));
    background.setColorAt(1.0, QColor(0xCC, 0xDD, 0xEE));
    background.setSpread(QGradient::ReflectSpread);
    painter.fillRect(0, 0, w, h, background);

    if (!hasLoopRange(marks, w))
        return;
    painter.setPen(barPen(UpperBarColour, h / 4));
    painter.drawLine(loopUpperBar(marks, h));
    painter.setPen(barPen(LowerBarColour, 3 * h / 4));
    painter.drawLine(loopLowerBar(marks, h));
}
