#pragma once

#include "pcm.h"

#include <QString>

// Decoding of any file the player can open (every format GStreamer's decodebin knows) to
// float PCM, streamed chunk by chunk or held whole. The calls block until the file is
// decoded, so they belong on a worker thread, never the GUI thread. The consumer and the
// progress callback run on GStreamer's streaming thread, one call at a time.
namespace audio {

// Makes sure GStreamer is initialised, once per process and from any thread. Phonon's
// GStreamer backend initialises it too; either may come first. False, with a text, when
// GStreamer cannot start.
bool ensureGStreamer(QString *error = nullptr);

struct DecodeOptions
{
    // 0 keeps the file's own rate or channel count; anything else is converted inside
    // GStreamer (audioresample, audioconvert), cheaper than converting afterwards.
    int sampleRate = 0;
    int channels = 0;
    // Only a part of the file, in seconds of the file; endSeconds < 0 means to its end.
    // Chunks carry their place in the file, so parts decoded side by side join exactly.
    double startSeconds = 0;
    double endSeconds = -1;
};

// `frames` frames of interleaved float; the first is frame `firstFrame` of the whole file,
// counted at the output rate. The samples belong to the decoder and are valid only
// during the consumer's call.
struct PcmChunk
{
    PcmFormat format;
    const float *samples = nullptr;
    qint64 frames = 0;
    qint64 firstFrame = 0;
};

// Returns false to end the decoding early; the result is then still ok.
using ChunkConsumer = std::function<bool(const PcmChunk &chunk)>;

struct DecodeResult : JobResult
{
    PcmFormat format; // of the chunks handed out
    double durationSeconds = 0; // of the whole file as its container tells, 0 when unknown
};

// Streams the decoded audio to consume. Progress follows the file position.
DecodeResult decodeStream(const QString &path, const DecodeOptions &options,
    const ChunkConsumer &consume, const JobControl &control = {});

// The whole file (or the part asked for) into out.
DecodeResult decodeFile(const QString &path, const DecodeOptions &options, PcmBuffer *out,
    const JobControl &control = {});

} // namespace audio
