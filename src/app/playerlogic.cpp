#include "playerlogic.h"

#include <QTime>

#include <algorithm>

namespace PlayerLogic {

QString timeText(qint64 ms)
{
    const qint64 t = std::max<qint64>(ms, 0);
    const QTime clock(0, static_cast<int>((t / 60000) % 60), static_cast<int>((t / 1000) % 60));
    return clock.toString(QStringLiteral("hh:mm:ss"));
}

qint64 backwardTarget(qint64 current)
{
    return std::max<qint64>(current - jumpStep, 0);
}

qint64 forwardTarget(qint64 current, qint64 total)
{
    const qint64 target = current + jumpStep;
    return target < total ? target : std::max<qint64>(total, 0);
}

double markFraction(qint64 mark, qint64 total)
{
    if (total <= 0)
        return 0.0;
    const double fraction = static_cast<double>(mark) / static_cast<double>(total);
    // Marks outlive the material they were set on; a shorter one must not draw them off the slider.
    return std::clamp(fraction, 0.0, 1.0);
}

Marks setMarkIn(Marks marks, bool positioned, qint64 current)
{
    if (positioned)
        marks.in = current;
    if (marks.out < marks.in)
        marks.out = marks.in;
    return marks;
}

Marks setMarkOut(Marks marks, bool positioned, qint64 current)
{
    if (positioned)
        marks.out = current;
    if (marks.in > marks.out)
        marks.in = marks.out;
    return marks;
}

Marks nudgeMarkIn(Marks marks, qint64 delta)
{
    marks.in += delta;
    if (marks.in < 0)
        marks.in = 0;
    if (marks.in > marks.out)
        marks.in = marks.out;
    return marks;
}

Marks nudgeMarkOut(Marks marks, qint64 delta, qint64 total)
{
    if (delta > 0 && total <= 0)
        return marks;
    marks.out += delta;
    if (marks.out < marks.in)
        marks.out = marks.in;
    if (marks.out > total)
        marks.out = std::max(total, marks.in);
    return marks;
}

Marks resetMarkOut(Marks marks, qint64 total)
{
    if (total <= 0)
        return marks;
    marks.out = total;
    marks.in = std::min(marks.in, total);
    return marks;
}

LoopDecision loopDecision(qint64 time, const Marks &marks, qint64 total)
{
    LoopDecision decision;
    if (!marks.loopActive())
        return decision;
    if (time < marks.in || time > marks.out)
        decision.seekToMarkIn = true;
    if (total > 0 && time >= total) {
        decision.seekToMarkIn = true;
        decision.play = true;
    }
    return decision;
}

} // namespace PlayerLogic
