#pragma once

#include "pcm.h"

#include <QDateTime>
#include <QStringList>

#include <vector>

// Consecutive by segments: the model stops at the end of each segment, the learner
// interprets it in a take of its own, and the takes of the pass become the step's one
// sentence recording.
namespace SegmentedPass {

// Where the model stops, in milliseconds: at each break (seconds of the model) inside the
// played range, and at the range's end. A break within kMinSegmentMs of the range's start
// or of its end would make a segment too short to be worth a stop.
std::vector<qint64> segmentEnds(const std::vector<double> &breaks, qint64 fromMs, qint64 toMs);
constexpr qint64 kMinSegmentMs = 1000;

// What the sentence file was when the pass ended: a take recorded over it since then is
// newer than the pass, and the joined segments do not replace it.
struct Target
{
    QString path;
    qint64 size = -1; // -1: there was no file
    QDateTime modified;

    static Target of(const QString &path);
    bool unchangedOnDisk() const;
};

// Decodes the takes in order, joins them and encodes the result into a hidden file beside
// the target, which replaces the target only when complete and only if the target is as it
// was. The takes are removed once joined. A take that does not decode is skipped; none at
// all is an error.
audio::JobResult joinTakes(
    const QStringList &takes, const Target &target, const audio::JobControl &control = {});

} // namespace SegmentedPass
