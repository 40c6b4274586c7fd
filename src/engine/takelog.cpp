#include "takelog.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr int formatVersion = 1;

QJsonObject toJson(const TakeFigures &f)
{
    return {{QStringLiteral("durationMs"), f.durationMs},
            {QStringLiteral("firstWordMs"), f.firstWordMs},
            {QStringLiteral("speakingPercent"), f.speakingPercent},
            {QStringLiteral("pauseCount"), f.pauseCount},
            {QStringLiteral("longestPauseMs"), f.longestPauseMs},
            {QStringLiteral("evsMedianMs"), f.evsMedianMs},
            {QStringLiteral("evsP90Ms"), f.evsP90Ms},
            {QStringLiteral("modelStartMs"), f.modelStartMs},
            {QStringLiteral("silent"), f.silent},
            {QStringLiteral("clippedPercent"), f.clippedPercent}};
}

TakeFigures fromJson(const QJsonObject &o)
{
    const auto ms = [&o](const char *key) {
        return static_cast<qint64>(o.value(QLatin1String(key)).toDouble(-1));
    };
    TakeFigures f;
    f.durationMs = std::max<qint64>(ms("durationMs"), 0);
    f.firstWordMs = ms("firstWordMs");
    f.speakingPercent = o.value(QStringLiteral("speakingPercent")).toDouble();
    f.pauseCount = o.value(QStringLiteral("pauseCount")).toInt();
    f.longestPauseMs = std::max<qint64>(ms("longestPauseMs"), 0);
    f.evsMedianMs = ms("evsMedianMs");
    f.evsP90Ms = ms("evsP90Ms");
    f.modelStartMs = ms("modelStartMs");
    f.silent = o.value(QStringLiteral("silent")).toBool();
    f.clippedPercent = o.value(QStringLiteral("clippedPercent")).toDouble();
    return f;
}

QString key(int number)
{
    return QString::number(number);
}

} // namespace

TakeLog::TakeLog(QString trainDir)
    : m_trainDir(std::move(trainDir))
{
}

QString TakeLog::fileName()
{
    return QStringLiteral("takes.json");
}

QString TakeLog::filePath() const
{
    QString folder = m_trainDir;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + fileName();
}

bool TakeLog::load()
{
    m_passes = {};
    m_stars = {};
    m_error.clear();
    m_damaged = false;
    QFile file(filePath());
    if (!file.exists())
        return true;
    QJsonParseError parseError{};
    const QJsonDocument document = file.open(QIODevice::ReadOnly)
        ? QJsonDocument::fromJson(file.readAll(), &parseError)
        : QJsonDocument();
    if (!document.isObject()) {
        m_error = file.error() != QFileDevice::NoError ? file.errorString() : parseError.errorString();
        qWarning("Cannot read %s: %s", qPrintable(filePath()), qPrintable(m_error));
        m_damaged = true;
        return false;
    }
    m_passes = document.object().value(QStringLiteral("passes")).toObject();
    m_stars = document.object().value(QStringLiteral("stars")).toObject();
    return true;
}

bool TakeLog::save()
{
    const QJsonObject root{{QStringLiteral("format"), formatVersion},
                           {QStringLiteral("passes"), m_passes},
                           {QStringLiteral("stars"), m_stars}};
    if (m_damaged) {
        const QString kept = filePath() + QStringLiteral(".damaged");
        QFile::remove(kept);
        m_damaged = !QFile::rename(filePath(), kept);
        if (m_damaged) {
            m_error = QStringLiteral("the damaged %1 cannot be put aside").arg(filePath());
            return false;
        }
    }
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

std::optional<TakeFigures> TakeLog::figures(int pass, int sentence) const
{
    const QJsonValue entry = m_passes.value(key(pass)).toObject().value(key(sentence));
    if (!entry.isObject())
        return std::nullopt;
    return fromJson(entry.toObject());
}

void TakeLog::setFigures(int pass, int sentence, const TakeFigures &figures)
{
    QJsonObject sentences = m_passes.value(key(pass)).toObject();
    sentences.insert(key(sentence), toJson(figures));
    m_passes.insert(key(pass), sentences);
}

void TakeLog::clearFigures(int pass, int sentence)
{
    QJsonObject sentences = m_passes.value(key(pass)).toObject();
    sentences.remove(key(sentence));
    m_passes.insert(key(pass), sentences);
}

QString TakeLog::star(int sentence) const
{
    return m_stars.value(key(sentence)).toString();
}

void TakeLog::setStar(int sentence, const QString &take)
{
    if (take.isEmpty())
        m_stars.remove(key(sentence));
    else
        m_stars.insert(key(sentence), take);
}
