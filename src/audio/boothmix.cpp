#include "boothmix.h"

#include "texts.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <lame/lame.h>
#include <memory>

namespace audio {

namespace {

constexpr int kEncodeFrames = 8192;
// LAME's worst case for a block: 1.25 x samples + 7200 bytes.
constexpr int kMp3Bytes = kEncodeFrames * 5 / 4 + 7200;

struct LameCloser
{
    void operator()(lame_global_flags *flags) const { lame_close(flags); }
};

float monoAt(const PcmBuffer &pcm, qint64 frame)
{
    const int channels = pcm.format.channels;
    if (frame < 0 || frame >= pcm.frames())
        return 0.0f;
    float sum = 0;
    for (int c = 0; c < channels; ++c)
        sum += pcm.samples[size_t(frame * channels + c)];
    return sum / float(channels);
}

// LAME leaves its first frame empty for the tag that tells decoders its delay and padding;
// without it every decoder hears the export some 50 ms late against its sources.
bool writeLameTag(lame_global_flags *lame, QSaveFile *file)
{
    unsigned char tag[kMp3Bytes];
    const size_t bytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (bytes == 0 || bytes > sizeof tag)
        return true;
    const qint64 end = file->pos();
    return file->seek(0)
        && file->write(reinterpret_cast<const char *>(tag), qint64(bytes)) == qint64(bytes)
        && file->seek(end);
}

} // namespace

PcmBuffer mixBooth(const PcmBuffer &model, const PcmBuffer &take, const BoothMix &mix)
{
    PcmBuffer out;
    if (model.format.sampleRate != take.format.sampleRate || !model.format.isValid()
        || !take.format.isValid())
        return out;
    const int rate = model.format.sampleRate;
    const auto offset = qint64(std::llround(mix.takeOffsetSeconds * rate));
    const qint64 frames = std::max(model.frames(), offset + take.frames());
    const auto cross = float(std::clamp(mix.blend, 0.0, 1.0) / 2);
    out.format = { rate, 2 };
    out.samples.resize(size_t(std::max<qint64>(0, frames) * 2));
    for (qint64 i = 0; i < frames; ++i) {
        const float m = monoAt(model, i);
        const float t = monoAt(take, i - offset);
        out.samples[size_t(2 * i)] = m * (1 - cross) + t * cross;
        out.samples[size_t(2 * i + 1)] = t * (1 - cross) + m * cross;
    }
    return out;
}

JobResult exportMp3(const PcmBuffer &pcm, const QString &path, int kbps)
{
    JobResult result;
    const int channels = pcm.format.channels;
    std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    if (!lame || channels < 1 || channels > 2) {
        result.error
            = AudioEngine::tr("Cannot make the MP3 \"%1\": the encoder does not start.").arg(path);
        return result;
    }
    lame_set_in_samplerate(lame.get(), pcm.format.sampleRate);
    lame_set_num_channels(lame.get(), channels);
    lame_set_mode(lame.get(), channels == 2 ? STEREO : MONO);
    lame_set_brate(lame.get(), kbps);
    QSaveFile file(path);
    if (lame_init_params(lame.get()) < 0 || !file.open(QIODevice::WriteOnly)) {
        result.error
            = AudioEngine::tr("Cannot make the MP3 \"%1\": %2").arg(path, file.errorString());
        return result;
    }
    std::vector<unsigned char> mp3(kMp3Bytes);
    bool written = true;
    for (qint64 frame = 0; frame < pcm.frames() && written; frame += kEncodeFrames) {
        const int frames = int(std::min<qint64>(kEncodeFrames, pcm.frames() - frame));
        const float *samples = pcm.samples.data() + frame * channels;
        const int bytes = channels == 2 ? lame_encode_buffer_interleaved_ieee_float(
                              lame.get(), samples, frames, mp3.data(), kMp3Bytes)
                                        : lame_encode_buffer_ieee_float(lame.get(), samples,
                                            samples, frames, mp3.data(), kMp3Bytes);
        written
            = bytes >= 0 && file.write(reinterpret_cast<const char *>(mp3.data()), bytes) == bytes;
    }
    const int tail = lame_encode_flush(lame.get(), mp3.data(), kMp3Bytes);
    written = written && tail >= 0
        && file.write(reinterpret_cast<const char *>(mp3.data()), tail) == tail
        && writeLameTag(lame.get(), &file) && file.commit();
    if (!written)
        result.error
            = AudioEngine::tr("Cannot make the MP3 \"%1\": %2").arg(path, file.errorString());
    result.ok = written;
    return result;
}

} // namespace audio
