#include "audiofixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace AudioFixtures {

namespace {

bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
         int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessChannelMode(output ? QProcess::SeparateChannels : QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !process.waitForFinished(timeoutMs))
        return false;
    if (output)
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool wavToMp3(const QString &wavPath, const QString &mp3Path)
{
    return run(QStringLiteral("lame"),
               {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("64"), wavPath, mp3Path});
}

// One figure of sox's "stat" report, e.g. "RMS     amplitude", or -1.
double soxStat(const QString &audioPath, const QString &label)
{
    QByteArray out;
    if (!run(QStringLiteral("sox"), {audioPath, QStringLiteral("-n"), QStringLiteral("stat")}, &out))
        return -1;
    const QRegularExpression figure(label + QStringLiteral(":\\s+([0-9.eE+-]+)"));
    const QRegularExpressionMatch match = figure.match(QString::fromLatin1(out));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

} // namespace

bool makeSpeechWav(const QString &wavPath, const QString &text)
{
    QTemporaryDir tmp;
    const QString raw = tmp.filePath(QStringLiteral("speech.wav"));
    // espeak-ng speaks at 22 050 Hz mono; the programs expect 44.1 kHz stereo.
    return run(QStringLiteral("espeak-ng"), {QStringLiteral("-m"), QStringLiteral("-w"), raw, text})
        && run(QStringLiteral("sox"), {raw, QStringLiteral("-r"), QStringLiteral("44100"),
                                       QStringLiteral("-c"), QStringLiteral("2"), wavPath});
}

bool makeSpeechMp3(const QString &mp3Path, const QString &text)
{
    QTemporaryDir tmp;
    const QString wav = tmp.filePath(QStringLiteral("speech.wav"));
    return makeSpeechWav(wav, text) && wavToMp3(wav, mp3Path);
}

bool makeToneWav(const QString &wavPath, double seconds, int frequencyHz, double peak)
{
    return run(QStringLiteral("sox"),
               {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
                QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), wavPath,
                QStringLiteral("synth"), QString::number(seconds), QStringLiteral("sine"),
                QString::number(frequencyHz), QStringLiteral("vol"), QString::number(peak)});
}

bool makeToneMp3(const QString &mp3Path, double seconds, int frequencyHz)
{
    QTemporaryDir tmp;
    const QString wav = tmp.filePath(QStringLiteral("tone.wav"));
    return makeToneWav(wav, seconds, frequencyHz) && wavToMp3(wav, mp3Path);
}

bool sox(const QString &arguments)
{
    return run(QStringLiteral("sox"), arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

double decodedSeconds(const QString &audioPath)
{
    QTemporaryDir tmp;
    const QString wav = tmp.filePath(QStringLiteral("decoded.wav"));
    if (!decodeToWav(audioPath, wav))
        return -1;
    QByteArray out;
    if (!run(QStringLiteral("soxi"), {QStringLiteral("-D"), wav}, &out))
        return -1;
    bool ok = false;
    const double seconds = QString::fromLatin1(out).trimmed().toDouble(&ok);
    return ok ? seconds : -1;
}

bool decodeToWav(const QString &audioPath, const QString &wavPath)
{
    if (!QFileInfo::exists(audioPath))
        return false;
    return run(QStringLiteral("sox"), {audioPath, QStringLiteral("-r"), QStringLiteral("44100"),
                                       QStringLiteral("-c"), QStringLiteral("1"), wavPath});
}

double rmsAmplitude(const QString &audioPath)
{
    return soxStat(audioPath, QStringLiteral("RMS\\s+amplitude"));
}

double peakAmplitude(const QString &audioPath)
{
    return soxStat(audioPath, QStringLiteral("Maximum\\s+amplitude"));
}

double dominantFrequency(const QString &wavPath)
{
    // A raw 16-bit mono dump is simple enough to count sign changes in.
    QTemporaryDir tmp;
    const QString raw = tmp.filePath(QStringLiteral("samples.raw"));
    if (!run(QStringLiteral("sox"), {wavPath, QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-e"),
                                     QStringLiteral("signed"), QStringLiteral("-b"), QStringLiteral("16"),
                                     QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-r"),
                                     QStringLiteral("44100"), raw}))
        return -1;
    QFile file(raw);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    const auto *samples = reinterpret_cast<const qint16 *>(data.constData());
    const int count = data.size() / 2;
    if (count < 4410)
        return -1;
    int crossings = 0;
    for (int i = 1; i < count; ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    return crossings / 2.0 / (count / 44100.0);
}

double frequencyBetween(const QString &audioPath, double from, double length)
{
    QTemporaryDir tmp;
    const QString wav = tmp.filePath(QStringLiteral("decoded.wav"));
    const QString cut = tmp.filePath(QStringLiteral("cut.wav"));
    if (!decodeToWav(audioPath, wav)
        || !run(QStringLiteral("sox"), {wav, cut, QStringLiteral("trim"), QString::number(from), QString::number(length)}))
        return -1;
    return dominantFrequency(cut);
}

QProcess *playIntoMicrophone(const QString &wavPath)
{
    auto *player = new QProcess;
    player->start(QStringLiteral("paplay"), {QStringLiteral("-d"), QStringLiteral("micfeed"), wavPath});
    player->waitForStarted(5000);
    return player;
}

} // namespace AudioFixtures
