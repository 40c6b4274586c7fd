#pragma once

#include "booth.h"

#include <QList>
#include <QWidget>
#include <atomic>
#include <memory>

class PeaksLoader;
class QLabel;
class QSlider;
class QThread;
class QToolButton;
class WaveformView;

namespace Phonon {
class MediaObject;
}

// A take the learner can look at and hear beside the model: which one it is ("1" to "5" for a
// pass, "demo"), how it is shown, its file and where it began in the model.
struct TakeChoice
{
    QString key;
    QString label;
    QString path;
    qint64 offsetMs = 0;
};

// The study area's review: the waveform view over a row of controls to compare the takes of
// the selected sentence, star the one to keep, hear it in the booth (model left, take right)
// and export that as an MP3. The window tells it the material, the sentence and its takes.
class ReviewPanel : public QWidget
{
    Q_OBJECT

public:
    ReviewPanel(const QString &peaksCache, QWidget *parent = nullptr);
    ~ReviewPanel() override;

    WaveformView *view() const { return m_view; }
    // The player the booth mix plays through (its own output, not the model's).
    void setBoothPlayer(Phonon::MediaObject *player);
    void setMaterial(const QString &path);
    // The takes of one sentence in the order compare cycles through; the first is shown.
    void setTakes(int sentence, const QList<TakeChoice> &choices, const QString &starredKey);
    QString shownTake() const;

public slots:
    void compareNext();
    void toggleStar();

signals:
    // The learner starred a take of the sentence (empty key: no take starred any more).
    void starChosen(int sentence, const QString &key);

private:
    void showChoice();
    void playBooth(bool play);
    void exportShown();
    // Runs work on a thread of its own; done() follows on the GUI thread unless the panel went.
    void runInBackground(std::function<audio::JobResult(const audio::JobControl &)> work,
        std::function<void(const audio::JobResult &)> done);
    BoothTake boothTake() const;

    WaveformView *m_view = nullptr;
    PeaksLoader *m_loader = nullptr;
    QLabel *m_takeLabel = nullptr;
    QToolButton *m_compare = nullptr;
    QToolButton *m_star = nullptr;
    QToolButton *m_booth = nullptr;
    QSlider *m_balance = nullptr;
    QToolButton *m_export = nullptr;
    Phonon::MediaObject *m_boothPlayer = nullptr;
    QString m_material;
    int m_sentence = 0;
    QList<TakeChoice> m_choices;
    int m_shown = -1;
    QString m_starred;
    QString m_boothFile;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QList<QThread *> m_threads;
};
