#pragma once

#include "recordingcontrol.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <phonon/MediaSource>
#include <phonon/phononnamespace.h>

#include <optional>
#include <vector>

class QMenu;
class QSkinObject;
class QTextView;
class TsControl;
class Mater;
class PaRecThread;
class AppUpdate;
class ModelPlayer;
class ReviewPanel;
class QAction;
class TakeAnalyzer;
class TakeFiguresPanel;
struct TakeRequest;
namespace TakeMeasure {
struct TakeMeasurement;
}
namespace SegmentedPass {
struct Target;
}
namespace audio {
struct JobResult;
}

namespace Phonon {
class MediaObject;
class AudioOutput;
class VideoWidget;
} // namespace Phonon

namespace Ui {
class Zorva;
}

// The trainer's main window: study area over the player control panel, the model player,
// the learner's-voice player and the workspace state of the open material.
//
// The slot definitions are split by concern: zorva.cpp (construction, events, about, help
// videos), zorva_player.cpp (model player and loop marks), zorva_training.cpp (guided
// training), zorva_recording.cpp (voice recording) and zorva_companions.cpp (training bar,
// library, recording thread, update check and their connections). The declaration order of
// signals and slots is the meta-object order other parts rely on; append, never reorder.
class Zorva : public QWidget
{
    Q_OBJECT

public:
    explicit Zorva(QWidget *parent = nullptr);
    ~Zorva() override;

    // The window is shown before its players, bar and library exist; they are made right
    // after its first frame.
    bool isStarted() const;

public slots:
    void openFile();
    void about();
    void stateChanged(Phonon::State newState, Phonon::State oldState);
    void tick(qint64 time);
    void sourceChanged(const Phonon::MediaSource &source);
    void metaStateChanged(Phonon::State newState, Phonon::State oldState);
    void aboutToFinish();

    void on_btnBackward_clicked();
    void on_btnPlayPause_clicked();
    void on_btnStop_clicked();
    void on_btnForward_clicked();
    void on_btnMarkInReset_clicked();
    void on_btnMarkInSharpL_clicked();
    void on_btnMarkInSet_clicked();
    void on_btnMarkInSharpR_clicked();
    void on_btnMarkReset_clicked();
    void on_btnMarkOutSharpL_clicked();
    void on_btnMarkOutSet_clicked();
    void on_btnMarkOutSharpR_clicked();
    void on_btnMarkOutReset_clicked();

    void sltSwitchWorkspace(QString path);
    void sltRecordBeginEnd(bool begin);
    void sltRecordPlayPause(bool play);
    void sltNextState();
    void sltPrevState();
    void sltTextHide();
    void sltOneClick();
    void sltTwoClick();
    void sltThreeClick();
    void sltFourClick();
    void sltFiveClick();
    void sltAudioStop(QString trainDir);
    void demoPathSet(QString demoDir);
    void sltAudioStopBool(bool play);
    void sltRepeatOne(QString trainDir);
    void sltRepeatTwo(QString trainDir);
    void sltRepeatThree(QString trainDir);
    void sltRepeatFour(QString trainDir);
    void sltRepeatFive(QString trainDir);
    void sltDemonstrate();
    void sltAudioSeek(double fraction);
    void keepRecordOrPlay(bool recording);
    void sltRecordPlayPauseButton(bool recording);
    void sltShowOrHide(bool show);
    void sltRecordPrepare();
    void sltSixStepSpec();
    void playFromStart();
    void sltTranscripTextShow(bool show);
    void sltTranslationTextShow(bool show);
    void sltLeftPlay();
    void sltRightPlay();
    void sltTrainNumber();
    void sltCheckFileNumExist();
    void sltStop();

signals:
    void isPlay(bool playing);
    void isAudioPlay(bool playing);
    void noneFileOne();
    void noneFileTwo();
    void noneFileThree();
    void noneFileFour();
    void noneFileFive();

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finishStart();
    void createWorkspaceFolders();
    void createMediaObjects();
    void setupActions();
    void centreOnDesktop();
    void selectSentence(int sentence);
    void showSingleText(QTextView *view, QTextView *other, int stretch, const QString &path);
    void reviewRepeat(const QString &trainDir, int repeat);
    // The training bar, the library, the recording thread and the update check: their
    // placement, their connections to this window and the version check live here.
    void setupCompanions();
    void placeCompanions();
    void playHelpVideo(const QString &path);
    // The control panel draws marks as fractions of the material's length.
    void showMarkIn();
    void showMarkOut();
    void showTotalTimeIfKnown();
    // Enabled exactly when the sentence file to be played holds a recording.
    void updatePlayButton();
    void watchRecorder();
    void endTake();
    // Every box of the window, in the application's own readable colours.
    void showMessage(QMessageBox::Icon icon, const QString &title, const QString &text);
    // Speeds of the model player: on the panel and as keys on the window.
    void setupSpeeds();
    void showSpeed(double speed, double madeFraction);
    // The waveform view in the study area and the takes of the selected sentence.
    void setupReview();
    void showReviewTakes();
    void keepTake(int sentence, const QString &key);

    // What every take is told and measured, and consecutive by segments (zorva_takes.cpp).
    void setupTakes();
    void takeBegan();
    void takeEnded(bool kept, bool failureTold);
    void noteModelTick(qint64 time);
    void measureTake(const QString &file, const QString &modelPath, qint64 modelStartMs, bool warn);
    void showTakeFigures(const TakeRequest &request, const TakeMeasure::TakeMeasurement &result);
    void updateFiguresPanel();
    void continueSegments();
    void startSegments();
    void reachSegmentEnd();
    void finishSegments();
    void segmentsJoined(const SegmentedPass::Target &target, const audio::JobResult &result);
    void showSegmentsState();

    Ui::Zorva *ui = nullptr;
    QSkinObject *skin = nullptr;
    QMenu *contextMenu = nullptr;

    // The model player; its Phonon::MediaObject, named "mediaObject" too, plays below it.
    ModelPlayer *mediaObject = nullptr;
    Phonon::MediaObject *voiceObject = nullptr;
    Phonon::MediaObject *metaResolver = nullptr;
    Phonon::AudioOutput *audioOutput = nullptr;
    Phonon::AudioOutput *voiceOutput = nullptr;

    bool m_started = false;
    Phonon::VideoWidget *videoWidget = nullptr;
    TsControl *tsControl = nullptr;
    Mater *mater = nullptr;
    PaRecThread *recThread = nullptr;
    AppUpdate *appUpdate = nullptr;
    ReviewPanel *review = nullptr;

    QString m_baseName;
    QString m_mediaPath;
    QString m_trainDir;
    QString m_demoDir;
    int m_step = 0;
    QString m_recordFile;
    // Begun and ended on the GUI thread around a recording; the recording thread only writes
    // into it while it runs.
    SentenceTake m_take;
    // Why a take could not even begin, told when the bar ends it.
    QString m_takeFailure;
    bool m_voicePaused = false;
    QString m_repeat;
    qint64 m_markIn = 0;
    qint64 m_markOut = 0;

    TakeAnalyzer *takeAnalyzer = nullptr;
    TakeFiguresPanel *figuresPanel = nullptr;
    QAction *continueAction = nullptr;
    // The take that runs: its file, and for a simultaneous take where the model was when
    // its first sample was captured (known at the model's first tick after that).
    struct RunningTake
    {
        QString file;
        bool simultaneous = false;
        bool segment = false;
        qint64 firstSampleNs = 0;
        std::optional<qint64> modelStartMs;
    } m_running;
    // Files whose figures come with a warning when the take had none yet.
    QStringList m_warnFor;
    struct Segments
    {
        enum class Phase { Idle, Waiting, Listening, Interpreting, Joining } phase = Phase::Idle;
        std::vector<qint64> ends;
        int segment = 0;
        QStringList takes;
        QString sentenceFile;
        bool continuing = false;
    } m_segments;
};
