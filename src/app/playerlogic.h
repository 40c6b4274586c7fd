#pragma once

#include <QString>
#include <QtGlobal>

// Arithmetic of the model player: time texts, transport jumps, loop marks and the loop check
// made on every tick. All times are milliseconds of the material's timeline.
namespace PlayerLogic {

constexpr qint64 jumpStep = 30000;
constexpr qint64 markStep = 100;

// "hh:mm:ss" with the hour always 00 and the minutes wrapping after 59: 3 725 000 → "00:02:05".
QString timeText(qint64 ms);

qint64 backwardTarget(qint64 current);
qint64 forwardTarget(qint64 current, qint64 total);

// Where a mark is drawn, as a fraction of the length; 0.0 while the length is unknown (nothing
// loaded), so no loop range is drawn instead of dividing by zero.
double markFraction(qint64 mark, qint64 total);

struct Marks
{
    qint64 in = 0;
    qint64 out = 0;

    bool loopActive() const { return in < out; }
};

inline bool operator==(const Marks &a, const Marks &b)
{
    return a.in == b.in && a.out == b.out;
}

// Setting a mark at the playback position (only when something is playing or paused) pushes
// the other mark along so that mark-in never lies after mark-out.
Marks setMarkIn(Marks marks, bool positioned, qint64 current);
Marks setMarkOut(Marks marks, bool positioned, qint64 current);
Marks nudgeMarkIn(Marks marks, qint64 delta);
// Mark-out goes no further than the length; while the length is not known (0), a nudge to
// the right and a reset to the end keep the marks as they are instead of erasing the loop.
Marks nudgeMarkOut(Marks marks, qint64 delta, qint64 total);
Marks resetMarkOut(Marks marks, qint64 total);

struct LoopDecision
{
    bool seekToMarkIn = false;
    bool play = false;
};

// What a tick at `time` asks of the player: back to mark-in when playback has left the loop,
// and playing again when the end of the media was reached inside the loop.
LoopDecision loopDecision(qint64 time, const Marks &marks, qint64 total);

} // namespace PlayerLogic
