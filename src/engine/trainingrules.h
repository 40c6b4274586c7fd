#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// Naming rules of the guided training: materials, training folders and the sentence
// recordings of a repeat. Nothing here touches the file system; callers pass listings in.
namespace TrainingRules {

constexpr int sentenceCount = 5;
constexpr int repeatCount = 5;
// The steps the window and the bar treat specially: consecutive interpreting (which may go
// by segments), simultaneous interpreting (the take follows the model) and the practice set
// after the last step.
constexpr int consecutiveStep = 2;
constexpr int simultaneousStep = 6;
constexpr int practiceStep = 7;

// "./workspace/lesson01.mp3" gives "lesson01". Only the trailing extension goes, so a name
// such as "a.mp3b.mp3" keeps its inner ".mp3" ("a.mp3b") and finds its "a.mp3b.txt".
QString baseNameFromAudioPath(const QString &audioPath);

// "./workspace/train/lesson01.mp3/" gives "lesson01": the folder is named after the audio file.
QString baseNameFromTrainFolder(const QString &trainFolder);

// Last component of a path, without a trailing slash: the key a material's folders are named
// by. Empty for "." and "..", which name no material.
QString fileNameOf(const QString &path);

// Folder + repeat + sentence + ".mp3"; the demonstration's repeat is empty ("2.mp3").
QString sentenceFileName(const QString &folder, const QString &repeat, int sentence);

// The sentence a training step records: steps 1, 2, 4, 5 and 6 record sentences 1 to 5;
// step 3 (listening) and every other step record none (0).
int sentenceOfStep(int step);

// Whether the listing holds the recording of `sentence` (1 to 5) in `repeat`.
bool sentenceExists(const QStringList &fileNames, const QString &repeat, int sentence);

// Presence of sentences 1 to 5 (index 0 to 4) in `repeat`.
std::array<bool, sentenceCount> existingSentences(const QStringList &fileNames,
                                                  const QString &repeat);

// A learner's recording "<repeat><sentence>.mp3", both digits 1 to 5.
bool isSentenceRecording(const QString &fileName);

struct RecordingFile
{
    QString name;
    QDateTime modified;
};

// The repeat a new pass over a material records into. Without recordings it is "1"; after
// the highest repeat in use comes the next one; once all five are in use, the repeat
// practised longest ago (by the newest modification time among its files) is reused, so the
// passes cycle through 1 to 5 even when a file is recorded over in place. Files that are no
// sentence recordings are not looked at.
QString chooseRepeat(const QVector<RecordingFile> &files);

} // namespace TrainingRules
