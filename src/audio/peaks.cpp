#include "peaks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>

namespace audio {

namespace {

constexpr char kMagic[8] = { 'Z', 'P', 'E', 'A', 'K', 'S', '1', '\0' };
constexpr int kHeaderBytes = 8 + 3 * 4;
constexpr float kScale = 32767.0f;
// Ten hours of 10 ms windows: anything larger is not a peaks file of ours.
constexpr qint32 kMaxWindows = 3600000;

qint16 toInt16(float value)
{
    return qint16(std::lround(std::clamp(value, -1.0f, 1.0f) * kScale));
}

void appendInt32(QByteArray *bytes, qint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes->append(raw, 4);
}

void appendColumn(QByteArray *bytes, const std::vector<float> &values)
{
    std::vector<qint16> scaled(values.size());
    std::transform(values.begin(), values.end(), scaled.begin(), toInt16);
    const int offset = bytes->size();
    bytes->resize(offset + int(scaled.size() * 2));
    qToLittleEndian<qint16>(scaled.data(), qsizetype(scaled.size()), bytes->data() + offset);
}

void readColumn(const char *raw, qint32 count, std::vector<float> *values)
{
    std::vector<qint16> scaled(count);
    qFromLittleEndian<qint16>(raw, count, scaled.data());
    values->resize(count);
    std::transform(scaled.begin(), scaled.end(), values->begin(),
        [](qint16 v) { return float(v) / kScale; });
}

} // namespace

PeakPyramid::PeakPyramid(Envelope envelope) : m_envelope(std::move(envelope))
{
    std::vector<Block> level(m_envelope.windows());
    for (int i = 0; i < m_envelope.windows(); ++i)
        level[i] = { m_envelope.minimum[i], m_envelope.maximum[i],
            m_envelope.rms[i] * m_envelope.rms[i] };
    m_levels.push_back(std::move(level));
    while (m_levels.back().size() > 1) {
        const std::vector<Block> &below = m_levels.back();
        std::vector<Block> above((below.size() + 1) / 2);
        for (size_t i = 0; i < above.size(); ++i) {
            const Block &a = below[2 * i];
            const Block &b = 2 * i + 1 < below.size() ? below[2 * i + 1] : a;
            above[i] = { std::min(a.minimum, b.minimum), std::max(a.maximum, b.maximum),
                (a.meanSquare + b.meanSquare) / 2 };
        }
        m_levels.push_back(std::move(above));
    }
}

PeakColumn PeakPyramid::columnOf(qint64 window, qint64 endWindow) const
{
    Block sum;
    double squares = 0;
    const qint64 count = endWindow - window;
    // The largest aligned block that fits, from left to right: at most two per level.
    while (window < endWindow) {
        size_t level = 0;
        while (level + 1 < m_levels.size() && window % (qint64(2) << level) == 0
            && window + (qint64(2) << level) <= endWindow)
            ++level;
        const Block &block = m_levels[level][size_t(window >> level)];
        sum.minimum = std::min(sum.minimum, block.minimum);
        sum.maximum = std::max(sum.maximum, block.maximum);
        squares += double(block.meanSquare) * double(qint64(1) << level);
        window += qint64(1) << level;
    }
    return { sum.minimum, sum.maximum, float(std::sqrt(squares / double(count))) };
}

std::vector<PeakColumn> PeakPyramid::columns(double fromSeconds, double toSeconds, int width) const
{
    std::vector<PeakColumn> result(size_t(std::max(0, width)));
    const double windowSeconds = m_envelope.windowSeconds();
    const qint64 windows = m_envelope.windows();
    if (width <= 0 || windows == 0 || toSeconds <= fromSeconds)
        return result;
    const double perColumn = (toSeconds - fromSeconds) / width / windowSeconds;
    const double first = fromSeconds / windowSeconds;
    for (int c = 0; c < width; ++c) {
        const auto begin = qint64(std::floor(first + c * perColumn));
        const auto end = std::max(begin + 1, qint64(std::ceil(first + (c + 1) * perColumn)));
        if (begin >= 0 && begin < windows)
            result[size_t(c)] = columnOf(begin, std::min(end, windows));
    }
    return result;
}

QString peakCacheSuffix()
{
    return QStringLiteral("envelope.peaks");
}

bool writePeaks(const QString &path, const Envelope &envelope)
{
    QByteArray bytes(kMagic, sizeof kMagic);
    appendInt32(&bytes, envelope.sampleRate);
    appendInt32(&bytes, envelope.framesPerWindow);
    appendInt32(&bytes, envelope.windows());
    appendColumn(&bytes, envelope.minimum);
    appendColumn(&bytes, envelope.maximum);
    appendColumn(&bytes, envelope.rms);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool readPeaks(const QString &path, Envelope *envelope)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < kHeaderBytes || !bytes.startsWith(QByteArray(kMagic, sizeof kMagic)))
        return false;
    const char *header = bytes.constData() + sizeof kMagic;
    const auto rate = qFromLittleEndian<qint32>(header);
    const auto perWindow = qFromLittleEndian<qint32>(header + 4);
    const auto windows = qFromLittleEndian<qint32>(header + 8);
    if (rate <= 0 || rate > 1000000 || perWindow <= 0 || windows < 0 || windows > kMaxWindows
        || bytes.size() != kHeaderBytes + qint64(windows) * 6)
        return false;
    envelope->sampleRate = rate;
    envelope->framesPerWindow = perWindow;
    const char *data = bytes.constData() + kHeaderBytes;
    readColumn(data, windows, &envelope->minimum);
    readColumn(data + 2 * windows, windows, &envelope->maximum);
    readColumn(data + 4 * windows, windows, &envelope->rms);
    return true;
}

PeaksResult materialPeaks(
    const QString &materialPath, const CacheFolder &cache, const JobControl &control)
{
    PeaksResult result;
    Envelope envelope;
    const QString cached = cache.lookup(materialPath, peakCacheSuffix());
    if (!cached.isEmpty() && readPeaks(cached, &envelope)) {
        result.ok = result.fromCache = true;
        result.peaks = PeakPyramid(std::move(envelope));
        return result;
    }
    EnvelopeResult decoded = decodeEnvelope(materialPath, {}, control);
    static_cast<JobResult &>(result) = decoded;
    if (!decoded.ok)
        return result;
    const QString path = cache.pathFor(materialPath, peakCacheSuffix());
    // A cache that cannot be written costs time next time, not the peaks now.
    if (writePeaks(path, decoded.envelope))
        cache.evict(path);
    result.peaks = PeakPyramid(std::move(decoded.envelope));
    return result;
}

} // namespace audio
