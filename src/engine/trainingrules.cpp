#include "trainingrules.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace TrainingRules {

namespace {

QString withoutTrailingSlashes(QString path)
{
    while (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path;
}

QString withoutExtension(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

int repeatDigit(const QString &recordingName)
{
    return recordingName.at(0).digitValue();
}

} // namespace

QString fileNameOf(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const int slash = std::max(trimmed.lastIndexOf(QLatin1Char('/')),
                               trimmed.lastIndexOf(QLatin1Char('\\')));
    const QString name = trimmed.mid(slash + 1);
    // "." and ".." would lead a material's folders out of the workspace.
    return name == QLatin1String(".") || name == QLatin1String("..") ? QString() : name;
}

QString baseNameFromAudioPath(const QString &audioPath)
{
    return withoutExtension(fileNameOf(audioPath));
}

QString baseNameFromTrainFolder(const QString &trainFolder)
{
    return withoutExtension(fileNameOf(trainFolder));
}

QString sentenceFileName(const QString &folder, const QString &repeat, int sentence)
{
    return folder + repeat + QString::number(sentence) + QStringLiteral(".mp3");
}

int sentenceOfStep(int step)
{
    switch (step) {
    case 1:
    case 2:
        return step;
    case 4:
    case 5:
    case 6:
        return step - 1;
    default:
        return 0;
    }
}

bool sentenceExists(const QStringList &fileNames, const QString &repeat, int sentence)
{
    if (sentence < 1 || sentence > sentenceCount)
        return false;
    return fileNames.contains(sentenceFileName(QString(), repeat, sentence));
}

std::array<bool, sentenceCount> existingSentences(const QStringList &fileNames,
                                                  const QString &repeat)
{
    std::array<bool, sentenceCount> present{};
    for (int sentence = 1; sentence <= sentenceCount; ++sentence)
        present[static_cast<size_t>(sentence - 1)] = sentenceExists(fileNames, repeat, sentence);
    return present;
}

bool isSentenceRecording(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^[1-5][1-5]\\.mp3$"));
    return pattern.match(fileName).hasMatch();
}

QString chooseRepeat(const QVector<RecordingFile> &files)
{
    QVector<RecordingFile> recordings;
    std::copy_if(files.cbegin(), files.cend(), std::back_inserter(recordings),
                 [](const RecordingFile &file) { return isSentenceRecording(file.name); });
    if (recordings.isEmpty())
        return QStringLiteral("1");

    const auto byName = [](const RecordingFile &a, const RecordingFile &b) { return a.name < b.name; };
    const int highest = repeatDigit(std::max_element(recordings.cbegin(), recordings.cend(), byName)->name);
    if (highest < repeatCount)
        return QString::number(highest + 1);

    // When each repeat was last practised; a repeat without files was never practised.
    std::map<int, QDateTime> lastPractised;
    for (int repeat = 1; repeat <= repeatCount; ++repeat)
        lastPractised[repeat] = QDateTime();
    for (const RecordingFile &file : qAsConst(recordings)) {
        QDateTime &last = lastPractised[repeatDigit(file.name)];
        if (!last.isValid() || last < file.modified)
            last = file.modified;
    }
    int chosen = 1;
    for (int repeat = 2; repeat <= repeatCount; ++repeat) {
        const QDateTime &candidate = lastPractised[repeat];
        const QDateTime &best = lastPractised[chosen];
        if (best.isValid() && (!candidate.isValid() || candidate < best))
            chosen = repeat;
    }
    return QString::number(chosen);
}

} // namespace TrainingRules
