#include "segmentedpass.h"

#include "boothmix.h"
#include "decoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace SegmentedPass {

namespace {

// As the recorder writes them, so the joined file sounds like one take.
constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kKbps = 128;


} // namespace

std::vector<qint64> segmentEnds(const std::vector<double> &breaks, qint64 fromMs, qint64 toMs)
{
    std::vector<qint64> ends;
    for (double seconds : breaks) {
        const auto ms = qint64(std::llround(seconds * 1000.0));
        const qint64 start = ends.empty() ? fromMs : ends.back();
        if (ms - start >= kMinSegmentMs && toMs - ms >= kMinSegmentMs)
            ends.push_back(ms);
    }
    ends.push_back(toMs);
    return ends;
}

Target Target::of(const QString &path)
{
    const QFileInfo file(path);
    return { path, file.exists() ? file.size() : -1, file.exists() ? file.lastModified() : QDateTime() };
}

bool Target::unchangedOnDisk() const
{
    const Target now = of(path);
    return now.size == size && now.modified == modified;
}

audio::JobResult joinTakes(
    const QStringList &takes, const Target &target, const audio::JobControl &control)
{
    audio::PcmBuffer joined;
    joined.format = { kSampleRate, kChannels };
    QStringList decoded;
    for (const QString &take : takes) {
        audio::PcmBuffer pcm;
        const audio::DecodeResult result
            = audio::decodeFile(take, { kSampleRate, kChannels }, &pcm, control);
        if (result.cancelled)
            return { false, true, {} };
        if (!result.ok)
            continue;
        joined.samples.insert(joined.samples.end(), pcm.samples.begin(), pcm.samples.end());
        decoded << take;
    }
    if (decoded.isEmpty())
        return { false, false, QCoreApplication::translate("SegmentedPass", "None of the segments could be read back.") };
    const QFileInfo sentence(target.path);
    const QString staging
        = sentence.dir().filePath(QLatin1Char('.') + sentence.fileName() + QStringLiteral(".joined"));
    audio::JobResult result = audio::exportMp3(joined, staging, kKbps);
    if (!result.ok)
        return result;
    if (!target.unchangedOnDisk()) {
        QFile::remove(staging);
        return { false, false, QCoreApplication::translate("SegmentedPass", "A newer recording of the sentence was kept instead.") };
    }
    if (std::rename(QFile::encodeName(staging).constData(), QFile::encodeName(target.path).constData()) != 0) {
        QFile::remove(staging);
        return { false, false, QCoreApplication::translate("SegmentedPass", "The joined segments could not replace %1.").arg(target.path) };
    }
    for (const QString &take : takes)
        QFile::remove(take);
    return result;
}

} // namespace SegmentedPass
