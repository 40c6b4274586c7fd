#include "peaks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numeric>
#include <thread>

namespace audio {

namespace {

constexpr char kMagic[8] = { 'Z', 'P', 'E', 'A', 'K', 'S', '1', '\0' };
constexpr int kHeaderBytes = 8 + 3 * 4;
constexpr float kScale = 32767.0f;
// Ten hours of 10 ms windows: anything larger is not a peaks file of ours.
constexpr qint32 kMaxWindows = 3600000;
constexpr qint64 kFanOut = 8;
// The first stretch is short, so the start of a material shows within a fraction of a second;
// the rest comes in long stretches, since every decoder started costs about 60 ms.
constexpr double kFirstPieceSeconds = 30;
constexpr double kPieceSeconds = 900;

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

void readColumn(const uchar *raw, qint32 count, std::vector<float> *values)
{
    values->resize(size_t(count));
    for (qint32 i = 0; i < count; ++i)
        (*values)[size_t(i)] = float(qFromLittleEndian<qint16>(raw + 2 * i)) / kScale;
}

struct Piece
{
    qint64 firstWindow = 0;
    DecodeOptions range;
};

// A short first stretch and long ones after it, on window boundaries; the last runs to the
// real end, whatever length the container claimed.
std::vector<Piece> piecesOf(const DecodeResult &probe, int framesPerWindow)
{
    const double seconds = probe.durationSeconds;
    std::vector<double> starts { 0 };
    if (seconds > 2 * kFirstPieceSeconds)
        starts.push_back(kFirstPieceSeconds);
    const double restStart = starts.back();
    const int rest = std::max(1, int(std::ceil((seconds - restStart) / kPieceSeconds)));
    for (int i = 1; i < rest; ++i)
        starts.push_back(restStart + (seconds - restStart) * i / rest);
    const double windowSeconds = double(framesPerWindow) / probe.format.sampleRate;
    std::vector<Piece> pieces(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        pieces[i].firstWindow = std::llround(starts[i] / windowSeconds);
        pieces[i].range.startSeconds = double(pieces[i].firstWindow) * windowSeconds;
    }
    for (size_t i = 0; i + 1 < pieces.size(); ++i)
        pieces[i].range.endSeconds = pieces[i + 1].range.startSeconds;
    return pieces;
}

EnvelopeResult decodeInPieces(
    const QString &path, const JobControl &control, const PeaksPiece &onPiece)
{
    EnvelopeResult result;
    static_cast<DecodeResult &>(result) = decodeStream(
        path, {}, [](const PcmChunk &) { return false; }, control);
    if (!result.ok)
        return result;
    const PcmFormat format = result.format;
    EnvelopeBuilder whole(format.sampleRate, format.channels);
    const int framesPerWindow = whole.finish().framesPerWindow;
    const std::vector<Piece> pieces = piecesOf(result, framesPerWindow);
    std::vector<double> done(pieces.size(), 0.0);
    std::atomic<size_t> next { 0 };
    std::mutex lock;
    DecodeResult failure;
    failure.ok = true;
    const auto read = [&] {
        for (size_t i = next++; i < pieces.size(); i = next++) {
            const Piece &piece = pieces[i];
            const qint64 firstFrame = piece.firstWindow * framesPerWindow;
            EnvelopeBuilder builder(format.sampleRate, format.channels);
            JobControl pieceControl { nullptr, control.cancel };
            if (control.progress)
                pieceControl.progress = [&, i](double fraction) {
                    const std::lock_guard<std::mutex> guard(lock);
                    done[i] = std::clamp(fraction * double(pieces.size()) - double(i), 0.0, 1.0);
                    control.progress(
                        std::accumulate(done.begin(), done.end(), 0.0) / double(pieces.size()));
                };
            const DecodeResult outcome = decodeStream(
                path, piece.range,
                [&](const PcmChunk &chunk) {
                    builder.add(chunk.samples, chunk.frames, chunk.firstFrame - firstFrame);
                    return true;
                },
                pieceControl);
            if (outcome.ok)
                onPiece(piece.firstWindow, builder.finish());
            const std::lock_guard<std::mutex> guard(lock);
            if (!outcome.ok) {
                if (failure.ok)
                    failure = outcome;
                return;
            }
            whole.merge(builder, piece.firstWindow);
        }
    };
    std::thread second(read);
    read();
    second.join();
    if (!failure.ok) {
        static_cast<DecodeResult &>(result) = failure;
        return result;
    }
    result.envelope = whole.finish();
    return result;
}

} // namespace

PeakPyramid::PeakPyramid(Envelope envelope)
    : m_envelope(std::move(envelope))
{
    qint64 below = m_envelope.windows();
    while (below > 1) {
        const bool fromWindows = m_levels.empty();
        std::vector<Block> level(size_t((below + kFanOut - 1) / kFanOut));
        for (qint64 i = 0; i < below; ++i) {
            const Block part = fromWindows ? windowBlock(i) : m_levels.back()[size_t(i)];
            Block &block = level[size_t(i / kFanOut)];
            block.minimum = std::min(block.minimum, part.minimum);
            block.maximum = std::max(block.maximum, part.maximum);
            block.meanSquare += part.meanSquare / kFanOut; // a short last block is never used
        }
        below = qint64(level.size());
        m_levels.push_back(std::move(level));
    }
}

PeakPyramid::Block PeakPyramid::windowBlock(qint64 window) const
{
    const auto i = size_t(window);
    return { m_envelope.minimum[i], m_envelope.maximum[i], m_envelope.rms[i] * m_envelope.rms[i] };
}

PeakColumn PeakPyramid::columnOf(qint64 window, qint64 endWindow) const
{
    Block sum;
    double squares = 0;
    const qint64 count = endWindow - window;
    // The largest aligned block that fits, from left to right: at most 2 x 7 per level.
    while (window < endWindow) {
        size_t level = 0;
        qint64 span = 1;
        while (level < m_levels.size() && window % (span * kFanOut) == 0
            && window + span * kFanOut <= endWindow) {
            span *= kFanOut;
            ++level;
        }
        const Block block
            = level == 0 ? windowBlock(window) : m_levels[level - 1][size_t(window / span)];
        sum.minimum = std::min(sum.minimum, block.minimum);
        sum.maximum = std::max(sum.maximum, block.maximum);
        squares += double(block.meanSquare) * double(span);
        window += span;
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
    if (!file.open(QIODevice::ReadOnly) || file.size() < kHeaderBytes)
        return false;
    // Mapped rather than read: the cached hour is 2 MB and must be ready within 50 ms.
    const uchar *bytes = file.map(0, file.size());
    if (!bytes || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return false;
    const uchar *header = bytes + sizeof kMagic;
    const auto rate = qFromLittleEndian<qint32>(header);
    const auto perWindow = qFromLittleEndian<qint32>(header + 4);
    const auto windows = qFromLittleEndian<qint32>(header + 8);
    if (rate <= 0 || rate > 1000000 || perWindow <= 0 || windows < 0 || windows > kMaxWindows
        || file.size() != kHeaderBytes + qint64(windows) * 6)
        return false;
    envelope->sampleRate = rate;
    envelope->framesPerWindow = perWindow;
    const uchar *data = bytes + kHeaderBytes;
    readColumn(data, windows, &envelope->minimum);
    readColumn(data + 2 * windows, windows, &envelope->maximum);
    readColumn(data + 4 * windows, windows, &envelope->rms);
    return true;
}

PeaksResult materialPeaks(const QString &materialPath, const CacheFolder &cache,
    const JobControl &control, const PeaksPiece &piece)
{
    PeaksResult result;
    Envelope envelope;
    const QString cached = cache.lookup(materialPath, peakCacheSuffix());
    if (!cached.isEmpty() && readPeaks(cached, &envelope)) {
        result.ok = result.fromCache = true;
        result.peaks = PeakPyramid(std::move(envelope));
        return result;
    }
    EnvelopeResult decoded = piece ? decodeInPieces(materialPath, control, piece)
                                   : decodeEnvelope(materialPath, {}, control);
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
