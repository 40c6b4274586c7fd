#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <vector>

// The audio engine (library zorva_audio, namespace audio): plain C++ on Qt Core, GStreamer,
// SoundTouch and LAME, knowing no window, so the player, the take figures and the review
// view share one engine. Its parts, one header each:
//   pcm.h             these value types: PCM buffers, progress and cancelling, results
//   decoder.h         any file GStreamer plays to float PCM, streamed or whole (decodeStream)
//   envelope.h        peak/RMS per 10 ms window, computed while decoding, on both cores
//   peaks.h           waveform columns for any width and range; the per-material peaks cache
//   segmentation.h    speech and pauses against an adaptive speech floor; take figures
//   stretcher.h       pitch-keeping time-stretch, the player's speeds, material/copy time map
//   stretchrenderer.h the background job that makes the player's slower copy, with its cache
//   cachefolder.h     per-material cache files under a size limit (least recently used out)
//   wavwriter.h       16-bit WAV output
//   boothmix.h        model left, take right in one stereo stream; MP3 export
// Long work (decoding, peaks, copies) blocks its caller: run it on a worker thread, or use
// StretchRenderer, which brings its own.
namespace audio {

// Sample rate in Hz and channel count of interleaved 32-bit float PCM in -1..1.
struct PcmFormat
{
    int sampleRate = 0;
    int channels = 0;

    bool isValid() const { return sampleRate > 0 && channels > 0; }
    bool operator==(const PcmFormat &other) const
    {
        return sampleRate == other.sampleRate && channels == other.channels;
    }
};

// A whole stretch of PCM held in memory: frame i, channel c is samples[i * channels + c].
struct PcmBuffer
{
    PcmFormat format;
    std::vector<float> samples;

    qint64 frames() const
    {
        return format.channels > 0 ? qint64(samples.size()) / format.channels : 0;
    }
    double seconds() const
    {
        return format.sampleRate > 0 ? double(frames()) / format.sampleRate : 0.0;
    }
};

// How a caller follows and stops long work that runs on its own thread. progress gets
// 0..1 and is called on a working thread; cancel is polled at least every 100 ms.
struct JobControl
{
    std::function<void(double fraction)> progress;
    const std::atomic<bool> *cancel = nullptr;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// The outcome of long work: error is empty on success and, on failure, a text for the
// learner in their language. A cancelled job is neither ok nor failed with a text.
struct JobResult
{
    bool ok = false;
    bool cancelled = false;
    QString error;
};

} // namespace audio
