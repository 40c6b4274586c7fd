#pragma once

#include "takefigures.h"
#include "segmentedpass.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <future>
#include <map>
#include <memory>
#include <mutex>

// One take to measure, and where its figures belong.
struct TakeRequest
{
    QString path;
    QString trainDir;
    int pass = 0;
    int sentence = 0;
    // A simultaneous take: the model, and where it was when the take began.
    QString modelPath;
    qint64 modelStartMs = -1;
};

// Measures takes, models and joins segments on its own worker threads, so the window never
// waits for a decoder. Results come back as signals on the analyzer's thread. A model is
// measured once per file (as long as its size and time stay the same) and shared by every
// take compared with it. Destroying the analyzer cancels what runs and waits for it.
class TakeAnalyzer : public QObject
{
    Q_OBJECT

public:
    explicit TakeAnalyzer(QObject *parent = nullptr);
    ~TakeAnalyzer() override;

    // The model's speech when measured already; otherwise null, and modelReady follows.
    const TakeMeasure::ModelSpeech *model(const QString &path);
    void measure(const TakeRequest &request);
    void join(const QStringList &takes, const SegmentedPass::Target &target);

signals:
    void modelReady(const QString &path);
    void measured(const TakeRequest &request, const TakeMeasure::TakeMeasurement &result);
    void joined(const SegmentedPass::Target &target, const audio::JobResult &result);

private:
    std::shared_future<TakeMeasure::ModelSpeech> modelFuture(const QString &path);
    // The model's future; when nobody measures it yet, also the promise to keep.
    std::shared_future<TakeMeasure::ModelSpeech> claimModel(
        const QString &path, std::shared_ptr<std::promise<TakeMeasure::ModelSpeech>> *promise);
    void measureModel(const QString &path, std::promise<TakeMeasure::ModelSpeech> *promise);
    audio::JobControl control() const { return { nullptr, &m_cancel }; }

    QThreadPool m_pool;
    std::atomic<bool> m_cancel { false };
    std::mutex m_lock;
    std::map<QString, std::shared_future<TakeMeasure::ModelSpeech>> m_models;
};
