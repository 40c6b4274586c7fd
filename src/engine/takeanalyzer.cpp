#include "takeanalyzer.h"

#include <QFileInfo>

namespace {

// A file changed in place (a download finished again) is measured again.
QString modelKey(const QString &path)
{
    const QFileInfo file(path);
    return QStringLiteral("%1|%2|%3")
        .arg(file.absoluteFilePath())
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch());
}

bool isReady(const std::shared_future<TakeMeasure::ModelSpeech> &future)
{
    return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace

TakeAnalyzer::TakeAnalyzer(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(2);
}

TakeAnalyzer::~TakeAnalyzer()
{
    m_cancel = true;
    m_pool.waitForDone();
}

// Whoever asks first measures the model on their own thread; later askers wait for that, so a
// take never waits on a job still queued behind it.
std::shared_future<TakeMeasure::ModelSpeech> TakeAnalyzer::modelFuture(const QString &path)
{
    std::shared_ptr<std::promise<TakeMeasure::ModelSpeech>> promise;
    const std::shared_future<TakeMeasure::ModelSpeech> future = claimModel(path, &promise);
    if (promise)
        measureModel(path, promise.get());
    return future;
}

std::shared_future<TakeMeasure::ModelSpeech> TakeAnalyzer::claimModel(
    const QString &path, std::shared_ptr<std::promise<TakeMeasure::ModelSpeech>> *promise)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    const QString key = modelKey(path);
    const auto known = m_models.find(key);
    if (known != m_models.end())
        return known->second;
    *promise = std::make_shared<std::promise<TakeMeasure::ModelSpeech>>();
    return m_models[key] = (*promise)->get_future().share();
}

void TakeAnalyzer::measureModel(const QString &path, std::promise<TakeMeasure::ModelSpeech> *promise)
{
    const TakeMeasure::ModelSpeech speech = TakeMeasure::analyseModel(path, control());
    // A cancelled measurement is not the model's: the next asker measures again.
    if (!speech.ok && m_cancel) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_models.erase(modelKey(path));
    }
    promise->set_value(speech);
}

const TakeMeasure::ModelSpeech *TakeAnalyzer::model(const QString &path)
{
    std::shared_ptr<std::promise<TakeMeasure::ModelSpeech>> promise;
    const std::shared_future<TakeMeasure::ModelSpeech> future = claimModel(path, &promise);
    if (!promise)
        return isReady(future) ? &future.get() : nullptr;
    m_pool.start([this, path, promise] {
        measureModel(path, promise.get());
        QMetaObject::invokeMethod(this, [this, path] { emit modelReady(path); }, Qt::QueuedConnection);
    });
    return nullptr;
}

void TakeAnalyzer::measure(const TakeRequest &request)
{
    m_pool.start([this, request] {
        std::shared_future<TakeMeasure::ModelSpeech> model;
        if (!request.modelPath.isEmpty())
            model = modelFuture(request.modelPath);
        const TakeMeasure::TakeMeasurement result = TakeMeasure::measureTake(request.path,
            model.valid() ? &model.get() : nullptr, request.modelStartMs, control());
        QMetaObject::invokeMethod(
            this, [this, request, result] { emit measured(request, result); }, Qt::QueuedConnection);
    });
}

void TakeAnalyzer::join(const QStringList &takes, const SegmentedPass::Target &target)
{
    m_pool.start([this, takes, target] {
        const audio::JobResult result = SegmentedPass::joinTakes(takes, target, control());
        QMetaObject::invokeMethod(
            this, [this, target, result] { emit joined(target, result); }, Qt::QueuedConnection);
    });
}
