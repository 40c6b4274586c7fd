#include "wavwriter.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr int kHeaderBytes = 44;
// The RIFF sizes are 32-bit.
constexpr quint64 kMaxDataBytes = 0xFFFFFFFFULL - kHeaderBytes;

template <typename T> void put(char *&at, T value)
{
    qToLittleEndian(value, at);
    at += sizeof(T);
}

} // namespace

WavWriter::WavWriter(QIODevice *device, PcmFormat format)
    : m_device(device)
    , m_format(format)
{
}

bool WavWriter::start()
{
    if (!m_started)
        m_ok = m_ok && writeHeader(0);
    m_started = true;
    return m_ok;
}

bool WavWriter::writeHeader(quint32 dataBytes)
{
    char header[kHeaderBytes];
    char *at = header;
    const auto channels = quint16(m_format.channels);
    const auto rate = quint32(m_format.sampleRate);
    std::copy_n("RIFF", 4, at);
    at += 4;
    put<quint32>(at, dataBytes + kHeaderBytes - 8);
    std::copy_n("WAVEfmt ", 8, at);
    at += 8;
    put<quint32>(at, 16);
    put<quint16>(at, 1); // integer PCM
    put<quint16>(at, channels);
    put<quint32>(at, rate);
    put<quint32>(at, rate * channels * 2);
    put<quint16>(at, quint16(channels * 2));
    put<quint16>(at, 16);
    std::copy_n("data", 4, at);
    at += 4;
    put<quint32>(at, dataBytes);
    return m_device->write(header, kHeaderBytes) == kHeaderBytes;
}

bool WavWriter::write(const float *interleaved, qint64 frames)
{
    const auto count = size_t(frames * m_format.channels);
    m_dataBytes += count * 2;
    if (!start() || m_dataBytes > kMaxDataBytes)
        return m_ok = false;
    m_converted.resize(count);
    for (size_t i = 0; i < count; ++i)
        m_converted[i] = qint16(std::lrint(std::clamp(interleaved[i], -1.0f, 1.0f) * 32767.0f));
    qToLittleEndian<qint16>(m_converted.data(), qsizetype(count), m_converted.data());
    const auto bytes = qint64(count * 2);
    return m_ok
        = m_device->write(reinterpret_cast<const char *>(m_converted.data()), bytes) == bytes;
}

bool WavWriter::finish()
{
    return start() && m_device->seek(0) && writeHeader(quint32(m_dataBytes))
        && m_device->seek(m_device->size());
}

} // namespace audio
