#pragma once

// Speech materials for the audio benchmarks, made once with espeak-ng, sox and lame and
// kept in the temporary folder between runs (the hour-long MP3 takes a minute to encode).
#include "audiofixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace AudioBenchFixtures {

inline QString folder()
{
    const QString path = QDir::tempPath() + QStringLiteral("/zorva-bench-audio");
    QDir().mkpath(path);
    return path;
}

inline bool shell(const QString &command)
{
    return QProcess::execute(QStringLiteral("bash"), { QStringLiteral("-c"), command }) == 0;
}

// About 16 s of speech repeated to `seconds`, as a 44.1 kHz stereo WAV or a 128 kbit/s MP3.
inline QString speech(int seconds, bool mp3)
{
    const QString base = folder() + QStringLiteral("/speech%1").arg(seconds);
    const QString path = base + (mp3 ? QStringLiteral(".mp3") : QStringLiteral(".wav"));
    if (QFileInfo::exists(path))
        return path;
    const QString phrase = folder() + QStringLiteral("/phrase.wav");
    if (!QFileInfo::exists(phrase)
        && !AudioFixtures::makeSpeechWav(phrase,
            QStringLiteral(
                "Good morning everyone. Today we will talk about the climate conference, which "
                "brought together delegates from more than one hundred and ninety countries. The "
                "negotiations were difficult, but in the end an agreement was reached on the "
                "reduction of emissions and on financial support for developing nations.")))
        return {};
    const QString make = mp3
        ? QStringLiteral("sox %1 -t wav - repeat 300 trim 0 %2 | lame --quiet -b 128 - %3")
        : QStringLiteral("sox %1 %3 repeat 300 trim 0 %2");
    return shell(make.arg(phrase).arg(seconds).arg(path)) ? path : QString();
}

// Wall times depend on what else runs on the machine's cores: the load says how busy.
inline void printLoadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average at start: %s", load.readLine().constData());
}

} // namespace AudioBenchFixtures
