#include "stretchrenderer.h"

#include "decoder.h"
#include "stretcher.h"
#include "texts.h"
#include "wavwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <cmath>

namespace audio {

struct StretchRenderer::Job
{
    QString material;
    double speed = 1.0;
    CacheFolder cache { {}, 0 };
    std::atomic<bool> cancel { false };
    int lastPercent = -1; // of the worker thread only
};

namespace {

bool isOriginalSpeed(double speed)
{
    return std::fabs(speed - 1.0) < 1e-6;
}

// Decodes, stretches and writes chunk by chunk, so memory stays small for any length.
class CopyWriter
{
public:
    CopyWriter(QSaveFile *file, double speed)
        : m_file(file)
        , m_speed(speed)
    {
    }

    bool add(const PcmChunk &chunk)
    {
        if (!m_stretcher) {
            m_channels = chunk.format.channels;
            m_stretcher = std::make_unique<TimeStretcher>(chunk.format, m_speed);
            m_writer = std::make_unique<WavWriter>(m_file, chunk.format);
        }
        m_stretcher->process(chunk.samples, chunk.frames, &m_buffer);
        return flush();
    }
    bool finish()
    {
        m_stretcher->finish(&m_buffer);
        return flush() && m_writer->finish();
    }
    bool hadSound() const { return m_stretcher != nullptr; }

private:
    bool flush()
    {
        const bool written = m_writer->write(m_buffer.data(), qint64(m_buffer.size()) / m_channels);
        m_buffer.clear();
        return written;
    }

    QSaveFile *m_file = nullptr;
    double m_speed = 1.0;
    int m_channels = 1;
    std::unique_ptr<TimeStretcher> m_stretcher;
    std::unique_ptr<WavWriter> m_writer;
    std::vector<float> m_buffer;
};

struct Outcome
{
    QString copyPath;
    QString error; // both empty when cancelled
};

Outcome renderCopy(
    const QString &material, double speed, const CacheFolder &cache, const JobControl &control)
{
    const QString path = cache.pathFor(material, stretchedSuffix(speed));
    QDir().mkpath(cache.folder());
    QSaveFile file(path);
    const auto writeError = [&] {
        return Outcome {
            {},
            AudioEngine::tr("Cannot write the slower copy \"%1\": %2").arg(path, file.errorString())
        };
    };
    if (!file.open(QIODevice::WriteOnly))
        return writeError();
    CopyWriter writer(&file, speed);
    bool written = true;
    const DecodeResult decoded = decodeStream(
        material, {}, [&](const PcmChunk &chunk) { return written = writer.add(chunk); }, control);
    if (decoded.cancelled)
        return {};
    if (!decoded.ok)
        return { {}, decoded.error };
    if (!writer.hadSound())
        return { {},
            AudioEngine::tr("Cannot decode \"%1\": %2")
                .arg(QFileInfo(material).fileName(), AudioEngine::tr("the file holds no sound.")) };
    if (!written || !writer.finish() || !file.commit())
        return writeError();
    cache.evict(path);
    return { path, {} };
}

} // namespace

QString stretchedSuffix(double speed)
{
    return QString::number(speed, 'f', 2) + QStringLiteral("x.wav");
}

StretchRenderer::StretchRenderer(QObject *parent)
    : QObject(parent)
    , m_cache(CacheFolder::defaultFolder(QStringLiteral("stretched")), kDefaultCacheBytes)
{
}

StretchRenderer::~StretchRenderer()
{
    cancel();
    for (QThread *thread : findChildren<QThread *>())
        thread->wait();
}

void StretchRenderer::setCache(const QString &folder, qint64 limitBytes)
{
    m_cache = CacheFolder(folder, limitBytes);
}

CacheFolder StretchRenderer::cache() const
{
    return m_cache;
}

QString StretchRenderer::cachedCopy(const QString &materialPath, double speed) const
{
    if (isOriginalSpeed(speed))
        return QFileInfo::exists(materialPath) ? materialPath : QString();
    return m_cache.lookup(materialPath, stretchedSuffix(speed));
}

void StretchRenderer::render(const QString &materialPath, double speed)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->material = materialPath;
    job->speed = speed;
    job->cache = m_cache;
    m_job = job;
    const QString cached = cachedCopy(materialPath, speed);
    if (!cached.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, job, cached] { conclude(job, cached, {}); }, Qt::QueuedConnection);
        return;
    }
    QThread *thread = QThread::create([this, job] {
        const JobControl control { [this, job](double fraction) { report(job, fraction); },
            &job->cancel };
        const Outcome outcome = renderCopy(job->material, job->speed, job->cache, control);
        QMetaObject::invokeMethod(
            this, [this, job, outcome] { conclude(job, outcome.copyPath, outcome.error); },
            Qt::QueuedConnection);
    });
    thread->setParent(this);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void StretchRenderer::cancel()
{
    if (m_job)
        m_job->cancel = true;
    m_job.reset();
}

void StretchRenderer::report(const std::shared_ptr<Job> &job, double fraction)
{
    const int percent = int(fraction * 100);
    if (percent == job->lastPercent)
        return;
    job->lastPercent = percent;
    QMetaObject::invokeMethod(
        this,
        [this, job, fraction] {
            if (job == m_job)
                emit progress(fraction);
        },
        Qt::QueuedConnection);
}

void StretchRenderer::conclude(
    const std::shared_ptr<Job> &job, const QString &copyPath, const QString &error)
{
    if (job != m_job || job->cancel)
        return;
    m_job.reset();
    if (error.isEmpty())
        emit finished(job->material, job->speed, copyPath);
    else
        emit failed(job->material, job->speed, error);
}

} // namespace audio
