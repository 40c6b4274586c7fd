#pragma once

#include "pcm.h"

class QIODevice;

namespace audio {

// 16-bit PCM WAV written as it comes: the header goes out with the first write and its
// sizes are filled in by finish(), so the device must be seekable (a file or a QSaveFile).
class WavWriter
{
public:
    WavWriter(QIODevice *device, PcmFormat format);

    bool write(const float *interleaved, qint64 frames);
    bool finish();

private:
    bool writeHeader(quint32 dataBytes);
    bool start();

    QIODevice *m_device = nullptr;
    PcmFormat m_format;
    quint64 m_dataBytes = 0;
    std::vector<qint16> m_converted;
    bool m_started = false;
    bool m_ok = true;
};

} // namespace audio
