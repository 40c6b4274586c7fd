#pragma once

#include "peaks.h"
#include "segmentation.h"

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

// Reads waveforms off the GUI thread: a material's peaks through their cache, handed on in
// stretches as they are read and then with the material's pauses; a take's peaks whole.
// Everything arrives on the loader's own thread; a load replaced by a newer one is dropped.
class PeaksLoader : public QObject
{
    Q_OBJECT

public:
    explicit PeaksLoader(const QString &cacheFolder, QObject *parent = nullptr);
    // Cancels what is running and waits for it (at most a decoder's cancel poll).
    ~PeaksLoader() override;

    void loadMaterial(const QString &path);
    void loadTake(const QString &path);

signals:
    // The material as far as it is read: madeFraction is 1 when it is whole.
    void materialRead(const audio::PeakPyramid &peaks, double madeFraction);
    void materialPauses(const std::vector<audio::Segment> &pauses);
    void takeRead(const QString &path, const audio::PeakPyramid &peaks);
    void failed(const QString &errorText);

private:
    struct Job
    {
        std::atomic<bool> cancel { false };
        std::atomic<bool> done { false };
        std::thread thread;
    };
    std::shared_ptr<Job> start(const std::function<void(const std::shared_ptr<Job> &)> &work);
    void placePiece(qint64 firstWindow, const audio::Envelope &piece, double madeFraction);

    audio::CacheFolder m_cache;
    std::shared_ptr<Job> m_material;
    std::shared_ptr<Job> m_take;
    std::vector<std::shared_ptr<Job>> m_jobs;
    audio::Envelope m_partial;
};

Q_DECLARE_METATYPE(audio::PeakPyramid)
Q_DECLARE_METATYPE(std::vector<audio::Segment>)
