#pragma once

#include "cachefolder.h"

#include <QObject>
#include <memory>

namespace audio {

// Makes the slower (or faster) copy of a material that the player plays through Phonon:
// decoded, stretched with the pitch kept and written as a 16-bit WAV at the material's own
// rate into a cache folder, one file per material (path, size, modification time) and
// speed. The work runs on a thread of its own; everything here is called, and every
// signal arrives, on the thread that owns the renderer (the GUI thread).
//
//   renderer->render(material, 0.7);  // finished(material, 0.7, copy) at once from cache
//   player->setCurrentSource(copy);   // TimeMap{0.7} turns its times into material times
class StretchRenderer : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kDefaultCacheBytes = 2LL << 30;

    explicit StretchRenderer(QObject *parent = nullptr);
    // Cancels a running job and waits for its thread (at most a chunk's work).
    ~StretchRenderer() override;

    // Default: CacheFolder::defaultFolder("stretched"), 2 GiB.
    void setCache(const QString &folder, qint64 limitBytes = kDefaultCacheBytes);
    CacheFolder cache() const;

    // The copy when it is already made (and marks it as used), else an empty text. At
    // speed 1.0 the material itself.
    QString cachedCopy(const QString &materialPath, double speed) const;
    // Starts making the copy; a job still running for another request is cancelled.
    // Ends in finished() or failed(), never within this call, also when the copy is
    // cached; a cancelled job ends in neither.
    void render(const QString &materialPath, double speed);
    void cancel();
    bool isBusy() const { return m_job != nullptr; }

signals:
    // 0..1 of the material rendered, at most every 1 %.
    void progress(double fraction);
    void finished(const QString &materialPath, double speed, const QString &copyPath);
    void failed(const QString &materialPath, double speed, const QString &errorText);

private:
    struct Job;
    void report(const std::shared_ptr<Job> &job, double fraction);
    void conclude(const std::shared_ptr<Job> &job, const QString &copyPath, const QString &error);

    CacheFolder m_cache;
    std::shared_ptr<Job> m_job;
};

// The cache file's suffix for a speed, e.g. "0.70x.wav".
QString stretchedSuffix(double speed);

} // namespace audio
