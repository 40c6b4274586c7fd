#include "reviewpanel.h"

#include "peaksloader.h"
#include "waveformview.h"
#include "wavwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSaveFile>
#include <QSlider>
#include <QStandardPaths>
#include <QThread>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <phonon/MediaObject>

namespace {

QToolButton *makeButton(QWidget *parent, const char *name, const QString &text, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

} // namespace

ReviewPanel::ReviewPanel(const QString &peaksCache, QWidget *parent)
    : QWidget(parent)
    , m_view(new WaveformView(this))
    , m_loader(new PeaksLoader(peaksCache, this))
    , m_cancel(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("reviewPanel"));
    m_view->setObjectName(QStringLiteral("waveformView"));
    m_takeLabel = new QLabel(this);
    m_compare = makeButton(this, "btnCompare", tr("Compare"),
        tr("Show this pass, the previous pass or the demonstration"));
    m_star
        = makeButton(this, "btnStar", QStringLiteral("☆"), tr("Keep this take (one per sentence)"));
    m_star->setCheckable(true);
    m_booth = makeButton(this, "btnBooth", tr("Booth"),
        tr("Hear the model on the left ear and the take on the right"));
    m_booth->setCheckable(true);
    m_balance = new QSlider(Qt::Horizontal, this);
    m_balance->setObjectName(QStringLiteral("balanceSlider"));
    m_balance->setRange(0, 100);
    m_balance->setFixedWidth(80);
    m_balance->setToolTip(tr("Left: each voice in its own ear. Right: both voices in both ears."));
    m_export = makeButton(
        this, "btnExportBooth", tr("Export MP3…"), tr("Save the booth mix as a stereo MP3"));
    setStyleSheet(QStringLiteral(
        "QLabel, QToolButton {color: #fff;} QToolButton {border: none; padding: 2px 6px;}"
        "QToolButton:checked {color: #ffd000;} QToolButton:disabled {color: #777;}"));

    auto *controls = new QHBoxLayout;
    controls->setContentsMargins(6, 2, 6, 2);
    controls->addWidget(m_takeLabel, 1);
    for (QWidget *widget :
        std::initializer_list<QWidget *> { m_compare, m_star, m_booth, m_balance, m_export })
        controls->addWidget(widget);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addLayout(controls);

    connect(m_loader, &PeaksLoader::materialRead, m_view, &WaveformView::setModel);
    connect(m_loader, &PeaksLoader::materialPauses, m_view, &WaveformView::setPauses);
    connect(m_loader, &PeaksLoader::takeRead, this,
        [this](const QString &path, const audio::PeakPyramid &peaks) {
            if (m_shown >= 0 && m_choices[m_shown].path == path)
                m_view->setTake(peaks, m_choices[m_shown].offsetMs, m_choices[m_shown].label);
        });
    connect(m_compare, &QToolButton::clicked, this, &ReviewPanel::compareNext);
    connect(m_star, &QToolButton::clicked, this, &ReviewPanel::toggleStar);
    connect(m_booth, &QToolButton::toggled, this, &ReviewPanel::playBooth);
    connect(m_balance, &QSlider::sliderReleased, this, [this] {
        if (m_booth->isChecked())
            playBooth(true);
    });
    connect(m_export, &QToolButton::clicked, this, &ReviewPanel::exportShown);
    showChoice();
}

ReviewPanel::~ReviewPanel()
{
    *m_cancel = true;
    for (QThread *thread : m_threads)
        thread->wait();
}

void ReviewPanel::setBoothPlayer(Phonon::MediaObject *player)
{
    m_boothPlayer = player;
    connect(
        player, &Phonon::MediaObject::finished, m_booth, [this] { m_booth->setChecked(false); });
}

void ReviewPanel::setMaterial(const QString &path)
{
    if (path == m_material)
        return;
    m_material = path;
    m_view->setModel({}, 0.0);
    m_view->setPauses({});
    m_loader->loadMaterial(path);
}

void ReviewPanel::setTakes(
    int sentence, const QList<TakeChoice> &choices, const QString &starredKey)
{
    m_sentence = sentence;
    m_choices = choices;
    m_starred = starredKey;
    m_shown = choices.isEmpty() ? -1 : 0;
    m_booth->setChecked(false);
    showChoice();
}

QString ReviewPanel::shownTake() const
{
    return m_shown >= 0 ? m_choices[m_shown].key : QString();
}

void ReviewPanel::compareNext()
{
    if (m_choices.size() < 2)
        return;
    m_shown = (m_shown + 1) % m_choices.size();
    m_booth->setChecked(false);
    showChoice();
}

void ReviewPanel::toggleStar()
{
    if (m_shown < 0)
        return;
    m_starred = m_starred == shownTake() ? QString() : shownTake();
    emit starChosen(m_sentence, m_starred);
    showChoice();
}

void ReviewPanel::showChoice()
{
    const bool any = m_shown >= 0;
    for (QToolButton *button : { m_star, m_booth, m_export })
        button->setEnabled(any);
    m_compare->setEnabled(m_choices.size() > 1);
    m_star->setChecked(any && shownTake() == m_starred);
    m_star->setText(m_star->isChecked() ? QStringLiteral("★") : QStringLiteral("☆"));
    if (!any) {
        m_takeLabel->setText(
            m_sentence > 0 ? tr("Sentence %1: not recorded yet").arg(m_sentence) : QString());
        m_view->clearTake();
        return;
    }
    const TakeChoice &choice = m_choices[m_shown];
    m_takeLabel->setText(tr("Sentence %1: %2").arg(m_sentence).arg(choice.label));
    m_loader->loadTake(choice.path);
}

BoothTake ReviewPanel::boothTake() const
{
    return { m_material, m_choices.value(m_shown).path, m_choices.value(m_shown).offsetMs };
}

// The mix is rendered afresh for every take and balance into one file that the booth player
// plays; a balance changed while it plays resumes where it was.
void ReviewPanel::playBooth(bool play)
{
    if (!m_boothPlayer)
        return;
    const qint64 resumeAt
        = m_boothPlayer->state() == Phonon::PlayingState ? m_boothPlayer->currentTime() : 0;
    m_boothPlayer->stop();
    if (!play || m_shown < 0)
        return;
    const BoothTake take = boothTake();
    const double blend = m_balance->value() / 100.0;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    m_boothFile = QDir(folder).filePath(
        QStringLiteral("zorva-booth-%1.wav").arg(QCoreApplication::applicationPid()));
    const QString file = m_boothFile;
    m_booth->setEnabled(false);
    runInBackground(
        [take, blend, file](const audio::JobControl &control) {
            audio::PcmBuffer mix;
            audio::JobResult result = renderBooth(take, blend, &mix, control);
            QSaveFile out(file);
            audio::WavWriter writer(&out, mix.format);
            if (result.ok
                && !(out.open(QIODevice::WriteOnly)
                    && writer.write(mix.samples.data(), mix.frames()) && writer.finish()
                    && out.commit())) {
                result.ok = false;
                result.error
                    = ReviewPanel::tr("The booth mix could not be written to %1.").arg(file);
            }
            return result;
        },
        [this, resumeAt, file](const audio::JobResult &result) {
            m_booth->setEnabled(true);
            if (!m_booth->isChecked() || file != m_boothFile)
                return;
            if (!result.ok) {
                m_booth->setChecked(false);
                QMessageBox::warning(this, tr("Booth"), result.error);
                return;
            }
            m_boothPlayer->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(file)));
            m_boothPlayer->play();
            if (resumeAt > 0)
                m_boothPlayer->seek(resumeAt);
        });
}

void ReviewPanel::exportShown()
{
    if (m_shown < 0)
        return;
    const QString suggested
        = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(boothFileName(m_material, shownTake(), m_sentence));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export the booth mix"), suggested, tr("MP3 (*.mp3)"));
    if (path.isEmpty())
        return;
    const BoothTake take = boothTake();
    const double blend = m_balance->value() / 100.0;
    m_export->setEnabled(false);
    runInBackground(
        [take, blend, path](
            const audio::JobControl &control) { return exportBooth(take, blend, path, control); },
        [this, path](const audio::JobResult &result) {
            m_export->setEnabled(m_shown >= 0);
            if (result.ok)
                m_takeLabel->setText(tr("Saved %1").arg(QDir::toNativeSeparators(path)));
            else if (!result.cancelled)
                QMessageBox::warning(this, tr("Export"), result.error);
        });
}

void ReviewPanel::runInBackground(std::function<audio::JobResult(const audio::JobControl &)> work,
    std::function<void(const audio::JobResult &)> done)
{
    auto result = std::make_shared<audio::JobResult>();
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    QThread *thread = QThread::create([work, result, cancel] {
        *result = work({ nullptr, cancel.get() });
    });
    m_threads.append(thread);
    connect(thread, &QThread::finished, this, [this, thread, result, done] {
        m_threads.removeOne(thread);
        thread->deleteLater();
        done(*result);
    });
    thread->start();
}
