#pragma once

#include "cachefolder.h"
#include "envelope.h"

// Waveform columns of any width and time range, quickly enough for every repaint, from
// an envelope computed once per material and kept in a small cache file.
namespace audio {

struct PeakColumn
{
    float minimum = 0; // the lowest sample, <= 0
    float maximum = 0; // the highest sample, >= 0
    float rms = 0;
};

// The envelope's windows merged in blocks of 8, 64, 512... windows, so a column costs a few
// dozen look-ups whatever the zoom and the material's length, and the blocks take only a
// seventh of the envelope's memory and time to build.
class PeakPyramid
{
public:
    PeakPyramid() = default;
    explicit PeakPyramid(Envelope envelope);

    const Envelope &envelope() const { return m_envelope; }
    double seconds() const { return m_envelope.seconds(); }

    // `width` columns of equal time from fromSeconds to toSeconds; each covers every
    // window it touches, so a click shows in the column of its time. Columns narrower
    // than a window (10 ms) repeat that window's values; columns past the end are zero.
    std::vector<PeakColumn> columns(double fromSeconds, double toSeconds, int width) const;

private:
    struct Block
    {
        float minimum = 0;
        float maximum = 0;
        float meanSquare = 0;
    };
    PeakColumn columnOf(qint64 firstWindow, qint64 endWindow) const;

    Envelope m_envelope;
    Block windowBlock(qint64 window) const;

    std::vector<std::vector<Block>> m_levels; // m_levels[k] merges 8^(k + 1) windows
};

// Peaks files hold a header and the envelope as 16-bit integers (600 bytes a second).
constexpr qint64 kDefaultPeakCacheBytes = 256LL << 20;
QString peakCacheSuffix();
bool writePeaks(const QString &path, const Envelope &envelope);
bool readPeaks(const QString &path, Envelope *envelope);

struct PeaksResult : JobResult
{
    PeakPyramid peaks;
    bool fromCache = false;
};

// A stretch of a material's envelope read so far: its windows are the material's windows
// firstWindow, firstWindow + 1, ... Called on a reading thread, by two threads at a time.
using PeaksPiece = std::function<void(qint64 firstWindow, const Envelope &piece)>;

// Peaks of a material, from the cache when there and otherwise decoded (on both cores)
// and stored there. Runs on the calling thread: a worker, never the GUI thread.
// With `piece`, a material not in the cache is read in stretches of a few minutes from its
// start, two at a time, each handed to `piece` as soon as it is read, so a waveform fills in
// from the start long before the whole is ready (costing a little more in all).
PeaksResult materialPeaks(const QString &materialPath, const CacheFolder &cache,
    const JobControl &control = {}, const PeaksPiece &piece = {});

} // namespace audio
