// Shows the player control panel driving a real media object:
//   zorva_playctrl_demo <file.mp3> [--mark-in F] [--mark-out F] [--screenshot out.png]
// With --screenshot the panel is grabbed once playback runs and the program exits.
#include "playctrl.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <QTime>
#include <QtGlobal>
#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/VolumeSlider>

namespace {

QString timeText(qint64 ms)
{
    return QTime(0, 0).addMSecs(static_cast<int>(ms)).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorva_playctrl_demo"));
    zorvaInitResources();

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("mp3"), QStringLiteral("The MP3 file to play."));
    const QCommandLineOption markIn(QStringLiteral("mark-in"),
                                    QStringLiteral("Mark-in as a fraction."), QStringLiteral("F"));
    const QCommandLineOption markOut(QStringLiteral("mark-out"),
                                     QStringLiteral("Mark-out as a fraction."), QStringLiteral("F"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Grab the panel into this PNG and exit."),
                                        QStringLiteral("png"));
    parser.addOptions({markIn, markOut, screenshot});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);

    PlayCtrl panel(nullptr);
    panel.resize(800, 50);
    auto *media = new Phonon::MediaObject(&panel);
    auto *output = new Phonon::AudioOutput(Phonon::MusicCategory, &panel);
    Phonon::createPath(media, output);
    media->setTickInterval(300);
    panel.setMediaObject(media);
    panel.volumeSlider()->setAudioOutput(output);

    QObject::connect(media, &Phonon::MediaObject::tick, &panel,
                     [&panel](qint64 ms) { panel.setCurrentTime(timeText(ms)); });
    QObject::connect(media, &Phonon::MediaObject::totalTimeChanged, &panel,
                     [&panel](qint64 ms) { panel.setTotalTime(timeText(ms)); });
    QObject::connect(media, &Phonon::MediaObject::stateChanged, &panel,
                     [&panel, media](Phonon::State state) {
                         panel.sltMediaPaused(state != Phonon::PlayingState);
                         if (state == Phonon::ErrorState)
                             qWarning("Playback failed: %s", qPrintable(media->errorString()));
                     });

    media->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath())));
    panel.show();
    // Marks are kept in pixels of the width at the time they are set, so set them
    // once the panel has its final size.
    QTimer::singleShot(200, &panel, [&] {
        if (parser.isSet(markIn))
            panel.setMarkIn(parser.value(markIn).toDouble());
        if (parser.isSet(markOut))
            panel.setMarkOut(parser.value(markOut).toDouble());
        media->play();
    });

    if (parser.isSet(screenshot)) {
        // Grab once playback has visibly advanced, so the picture shows a live panel.
        const QString png = parser.value(screenshot);
        QObject::connect(media, &Phonon::MediaObject::tick, &panel, [&panel, png](qint64 ms) {
            if (ms < 1500)
                return;
            const bool saved = panel.grab().save(png);
            QApplication::exit(saved ? 0 : 2);
        });
        QTimer::singleShot(20000, &panel, [] {
            qWarning("Playback did not advance; no screenshot taken");
            QApplication::exit(3);
        });
    }
    QObject::connect(media, &Phonon::MediaObject::finished, &app, &QApplication::quit);
    return app.exec();
}
