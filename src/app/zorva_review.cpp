// The study area's review: the waveform view in place of the black screen, fed by the model
// player and the marks, and the takes of the selected sentence with their stars. It follows
// the training through the bar's and the library's signals, connected after the training's
// own slots so that it sees the state they leave.
#include "gaplesswait.h"
#include "mater.h"
#include "modelplayer.h"
#include "reviewpanel.h"
#include "takelog.h"
#include "trainingrules.h"
#include "tscontrol.h"
#include "ui_zorva.h"
#include "usersettings.h"
#include "waveformview.h"
#include "zorva.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QVBoxLayout>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>

namespace {

constexpr int cursorIntervalMs = 40;
constexpr int simultaneousSentence = 5;

// The sentence a recording file is of: "…/23.mp3" is sentence 3.
int sentenceOfFile(const QString &file)
{
    const QString name = QFileInfo(file).completeBaseName();
    return name.isEmpty() ? 0 : name.right(1).toInt();
}

QString keptTakeText(const QString &key)
{
    if (key.isEmpty())
        return {};
    return key == QLatin1String("demo") ? Zorva::tr("Kept: the demonstration")
                                        : Zorva::tr("Kept: pass %1").arg(key);
}

} // namespace

void Zorva::setupReview()
{
    review = new ReviewPanel(userCacheFolder(QStringLiteral("peaks")), ui->screen);
    auto *layout = new QVBoxLayout(ui->screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(review);

    auto *boothOutput = new Phonon::AudioOutput(Phonon::MusicCategory, this);
    auto *booth = new Phonon::MediaObject(this);
    booth->setObjectName(QStringLiteral("boothObject"));
    Phonon::createPath(booth, boothOutput);
    if (!cutGaplessWait(booth))
        qWarning("Phonon backend unknown: stopping the booth may wait for the end of its file");
    review->setBoothPlayer(booth);

    WaveformView *view = review->view();
    connect(view, &WaveformView::seekRequested, mediaObject, &ModelPlayer::seek);
    connect(view, &WaveformView::markInDragged, this, [this](qint64 time) {
        const PlayerLogic::Marks marks
            = PlayerLogic::setMarkIn({ m_markIn, m_markOut }, true, time);
        m_markOut = marks.out;
        m_markIn = marks.in;
        showMarkOut();
        showMarkIn();
    });
    connect(view, &WaveformView::markOutDragged, this, [this](qint64 time) {
        const PlayerLogic::Marks marks
            = PlayerLogic::setMarkOut({ m_markIn, m_markOut }, true, time);
        m_markIn = marks.in;
        m_markOut = marks.out;
        showMarkIn();
        showMarkOut();
    });
    connect(mediaObject, &ModelPlayer::tick, view, &WaveformView::setPosition);
    connect(mediaObject, &ModelPlayer::totalTimeChanged, view, &WaveformView::setDuration);
    // The tick comes every 300 ms; the cursor moves smoothly while the model plays.
    auto *cursor = new QTimer(this);
    cursor->setInterval(cursorIntervalMs);
    connect(cursor, &QTimer::timeout, view,
        [this, view] { view->setPosition(mediaObject->currentTime()); });
    connect(mediaObject, &ModelPlayer::stateChanged, cursor, [cursor](Phonon::State state) {
        if (state == Phonon::PlayingState)
            cursor->start();
        else
            cursor->stop();
    });
    connect(review, &ReviewPanel::starChosen, this, &Zorva::keepTake);

    const auto addKey = [this](const char *name, const QString &text, const char *key,
                            void (ReviewPanel::*slot)()) {
        auto *action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(QLatin1String(key)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, review, slot);
        addAction(action);
    };
    addKey("compareAction", tr("Compare takes"), "Ctrl+K", &ReviewPanel::compareNext);
    addKey("keepTakeAction", tr("Keep this take"), "Ctrl+Shift+K", &ReviewPanel::toggleStar);

    const auto material = [this](const QString &path) { review->setMaterial(path); };
    connect(mater, &Mater::switchSig, review, material);
    connect(tsControl, &TsControl::learnAgainSig, review, material);
    connect(mater, &Mater::chooseSig, review, [material](const QString &trainDir) {
        material(QStringLiteral("./workspace/") + QDir(trainDir).dirName());
    });
    for (auto signal : { &TsControl::trainNextState, &TsControl::trainPrevState, &TsControl::oneSig,
             &TsControl::twoSig, &TsControl::threeSig, &TsControl::fourSig, &TsControl::fiveSig,
             &TsControl::demonstrationSig })
        connect(tsControl, signal, this, &Zorva::showReviewTakes);
    for (auto signal : { &TsControl::repeatOneSig, &TsControl::repeatTwoSig,
             &TsControl::repeatThreeSig, &TsControl::repeatFourSig, &TsControl::repeatFiveSig })
        connect(tsControl, signal, this, &Zorva::showReviewTakes);
    // Runs after the recording slot, which has joined the recording thread: the take is whole.
    connect(tsControl, &TsControl::recordBeginEnd, this, [this](bool begin) {
        if (!begin)
            showReviewTakes();
    });
}

// This pass, the previous pass and the demonstration of the selected sentence, where recorded;
// a simultaneous take is placed where the model was when it began.
void Zorva::showReviewTakes()
{
    const int sentence = sentenceOfFile(m_recordFile);
    const QString material = QDir(m_trainDir).dirName();
    const QString trainDir = QStringLiteral("./workspace/train/") + material + QLatin1Char('/');
    TakeLog log(trainDir);
    log.load();
    QList<TakeChoice> choices;
    const auto offer = [&](const QString &key, const QString &label, const QString &path) {
        if (!QFileInfo(path).isFile())
            return;
        qint64 offset = 0;
        if (sentence == simultaneousSentence && key != QLatin1String("demo")) {
            const std::optional<TakeFigures> figures = log.figures(key.toInt(), sentence);
            offset = figures && figures->modelStartMs > 0 ? figures->modelStartMs : 0;
        }
        choices.append({ key, label, path, offset });
    };
    const int pass = m_repeat.toInt();
    if (pass > 0) {
        offer(m_repeat, tr("pass %1").arg(pass),
            TrainingRules::sentenceFileName(trainDir, m_repeat, sentence));
        if (pass > 1)
            offer(QString::number(pass - 1), tr("pass %1 (the previous one)").arg(pass - 1),
                TrainingRules::sentenceFileName(trainDir, QString::number(pass - 1), sentence));
    }
    offer(QStringLiteral("demo"), tr("the demonstration"),
        TrainingRules::sentenceFileName(m_demoDir, QString(), sentence));
    review->setTakes(sentence, sentence > 0 ? choices : QList<TakeChoice>(), log.star(sentence));
    for (int k = 1; k <= TrainingRules::sentenceCount; ++k)
        tsControl->showKeptTake(k, keptTakeText(log.star(k)));
}

void Zorva::keepTake(int sentence, const QString &key)
{
    TakeLog log(
        QStringLiteral("./workspace/train/") + QDir(m_trainDir).dirName() + QLatin1Char('/'));
    log.load();
    log.setStar(sentence, key);
    if (!log.save())
        qWarning("The kept take could not be stored: %s", qPrintable(log.errorString()));
    tsControl->showKeptTake(sentence, keptTakeText(key));
}
