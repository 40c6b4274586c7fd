#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>

// What one take measured, computed in the background once it ends. Times are milliseconds;
// -1 means "not measured" (no word was heard, or no model to compare with).
struct TakeFigures
{
    qint64 durationMs = 0;
    // From "start" on the clock to the first word.
    qint64 firstWordMs = -1;
    double speakingPercent = 0.0;
    // Pauses of half a second or more between words.
    int pauseCount = 0;
    qint64 longestPauseMs = 0;
    // Ear-voice span of a simultaneous take: lag of the learner's phrase onsets behind the
    // model's, median and 90th percentile.
    qint64 evsMedianMs = -1;
    qint64 evsP90Ms = -1;
    // Where the model was when the take began; a simultaneous take is aligned by it.
    qint64 modelStartMs = -1;
    // Nothing rose above the speech floor (a muted or wrong microphone).
    bool silent = false;
    // Share of samples at full scale, in per cent (over 1 % is heard as distortion).
    double clippedPercent = 0.0;
};

// The take figures and stars of one material, kept beside its recordings in
// "<training folder>/takes.json". The file holds one entry per pass and sentence and one
// star per sentence: which take the learner keeps ("1" to "5" for a pass, "demo" for the
// demonstration). The repeat and review rules look only at "<pass><sentence>.mp3" names, so
// this file never counts as a recording.
//
// Everything is read at load() and written whole at save(), through a temporary file that
// replaces the old one only when complete.
class TakeLog
{
public:
    explicit TakeLog(QString trainDir);

    static QString fileName();
    QString filePath() const;

    // A missing file is an empty log; a damaged one is reported and read as empty, and the
    // next save() keeps it as "takes.json.damaged" rather than writing over it.
    bool load();
    bool save();
    QString errorString() const { return m_error; }

    std::optional<TakeFigures> figures(int pass, int sentence) const;
    void setFigures(int pass, int sentence, const TakeFigures &figures);
    // Drops the figures of a take that was recorded over or removed.
    void clearFigures(int pass, int sentence);

    QString star(int sentence) const;
    void setStar(int sentence, const QString &take);

private:
    QString m_trainDir;
    QJsonObject m_passes;
    QJsonObject m_stars;
    QString m_error;
    bool m_damaged = false;
};
