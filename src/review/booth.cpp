#include "booth.h"

#include "boothmix.h"
#include "decoder.h"

#include <QFileInfo>

namespace {

constexpr int boothRate = 44100;

} // namespace

audio::JobResult renderBooth(
    const BoothTake &take, double blend, audio::PcmBuffer *out, const audio::JobControl &control)
{
    audio::PcmBuffer voice;
    audio::DecodeResult decoded = audio::decodeFile(take.take, { boothRate, 1 }, &voice, control);
    if (!decoded.ok)
        return decoded;
    audio::PcmBuffer model;
    audio::DecodeOptions part { boothRate, 1 };
    part.startSeconds = double(take.offsetMs) / 1000;
    part.endSeconds = part.startSeconds + voice.seconds();
    decoded = audio::decodeFile(take.model, part, &model, control);
    if (!decoded.ok)
        return decoded;
    *out = audio::mixBooth(model, voice, { 0, blend });
    audio::JobResult result;
    result.ok = true;
    return result;
}

audio::JobResult exportBooth(
    const BoothTake &take, double blend, const QString &mp3Path, const audio::JobControl &control)
{
    audio::PcmBuffer mix;
    const audio::JobResult rendered = renderBooth(take, blend, &mix, control);
    return rendered.ok ? audio::exportMp3(mix, mp3Path) : rendered;
}

QString boothFileName(const QString &materialPath, const QString &pass, int sentence)
{
    const QString material = QFileInfo(materialPath).completeBaseName();
    const QString which = pass == QLatin1String("demo") ? pass : QStringLiteral("pass") + pass;
    return QStringLiteral("%1_%2_sentence%3.mp3").arg(material, which).arg(sentence);
}
