#include "peaksloader.h"

PeaksLoader::PeaksLoader(const QString &cacheFolder, QObject *parent)
    : QObject(parent)
    , m_cache(cacheFolder, audio::kDefaultPeakCacheBytes)
{
    // Only for those who queue or record these signals: the loader itself emits them directly.
    qRegisterMetaType<audio::PeakPyramid>();
    qRegisterMetaType<std::vector<audio::Segment>>();
}

PeaksLoader::~PeaksLoader()
{
    for (const std::shared_ptr<Job> &job : m_jobs)
        job->cancel = true;
    for (const std::shared_ptr<Job> &job : m_jobs)
        job->thread.join();
}

// Finished threads are joined when the next job starts, so none is left behind unjoined.
std::shared_ptr<PeaksLoader::Job> PeaksLoader::start(
    const std::function<void(const std::shared_ptr<Job> &)> &work)
{
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = m_jobs.erase(it);
        } else {
            ++it;
        }
    }
    auto job = std::make_shared<Job>();
    job->thread = std::thread([job, work] {
        work(job);
        job->done = true;
    });
    m_jobs.push_back(job);
    return job;
}

void PeaksLoader::loadMaterial(const QString &path)
{
    if (m_material)
        m_material->cancel = true;
    m_partial = {};
    const audio::CacheFolder cache = m_cache;
    m_material = start([this, path, cache](const std::shared_ptr<Job> &job) {
        // Posted to this object: dropped by Qt if it is gone, ignored if a newer load began.
        const auto post = [this, job](auto deliver) {
            QMetaObject::invokeMethod(
                this,
                [this, job, deliver] {
                    if (job == m_material)
                        deliver();
                },
                Qt::QueuedConnection);
        };
        std::atomic<double> made { 0 };
        audio::JobControl control { [&made](double fraction) { made = fraction; }, &job->cancel };
        audio::PeaksResult result = audio::materialPeaks(
            path, cache, control, [&](qint64 firstWindow, const audio::Envelope &piece) {
                const double fraction = made;
                post([this, firstWindow, piece, fraction] {
                    placePiece(firstWindow, piece, fraction);
                });
            });
        if (result.cancelled)
            return;
        if (!result.ok) {
            post([this, error = result.error] { emit failed(error); });
            return;
        }
        // The waveform first: the pauses, which only snapping needs, follow a moment later.
        post([this, peaks = result.peaks] {
            m_partial = {};
            emit materialRead(peaks, 1.0);
        });
        const std::vector<audio::Segment> pauses
            = audio::segmentSpeech(result.peaks.envelope()).pauses;
        post([this, pauses] { emit materialPauses(pauses); });
    });
}

void PeaksLoader::placePiece(qint64 firstWindow, const audio::Envelope &piece, double madeFraction)
{
    const size_t end = size_t(firstWindow) + piece.minimum.size();
    if (m_partial.minimum.size() < end) {
        m_partial.minimum.resize(end);
        m_partial.maximum.resize(end);
        m_partial.rms.resize(end);
    }
    m_partial.sampleRate = piece.sampleRate;
    m_partial.framesPerWindow = piece.framesPerWindow;
    std::copy(piece.minimum.begin(), piece.minimum.end(), m_partial.minimum.begin() + firstWindow);
    std::copy(piece.maximum.begin(), piece.maximum.end(), m_partial.maximum.begin() + firstWindow);
    std::copy(piece.rms.begin(), piece.rms.end(), m_partial.rms.begin() + firstWindow);
    emit materialRead(audio::PeakPyramid(m_partial), std::min(madeFraction, 0.99));
}

void PeaksLoader::loadTake(const QString &path)
{
    if (m_take)
        m_take->cancel = true;
    m_take = start([this, path](const std::shared_ptr<Job> &job) {
        audio::EnvelopeResult result = audio::decodeEnvelope(path, {}, { nullptr, &job->cancel });
        if (result.cancelled)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, job, path, result = std::move(result)] {
                if (job != m_take)
                    return;
                if (result.ok)
                    emit takeRead(path, audio::PeakPyramid(result.envelope));
                else
                    emit failed(result.error);
            },
            Qt::QueuedConnection);
    });
}
