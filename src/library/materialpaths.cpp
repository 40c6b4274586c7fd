#include "materialpaths.h"

#include <QTreeWidgetItem>

namespace MaterialPaths {

namespace {
const QString workspace = QStringLiteral("./workspace/");

// Only "scheme://..." is a URL: "part1:intro.mp3" is the file name of an import, and a
// one-letter scheme is a Windows drive ("C:/music/talk.mp3").
bool looksLikeUrl(const QString &text)
{
    const int separator = text.indexOf(QLatin1String("://"));
    return separator > 1 && QUrl(text).isValid() && QUrl(text).scheme().size() == separator;
}
} // namespace

QString fileNameOf(const QString &pathOrUrl)
{
    QString path = pathOrUrl;
    if (looksLikeUrl(pathOrUrl))
        path = QUrl(pathOrUrl).path();
    const int slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(slash + 1);
    // "." and ".." would lead a material's folders out of the workspace.
    return name == QLatin1String(".") || name == QLatin1String("..") ? QString() : name;
}

QString materialBaseName(const QString &fileName)
{
    const QString name = fileNameOf(fileName);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString audioPath(const QString &audioName)
{
    return workspace + audioName;
}

QString transcriptPath(const QString &baseName)
{
    return workspace + baseName + QStringLiteral(".txt");
}

QString translationPath(const QString &baseName)
{
    return workspace + baseName + QStringLiteral("@T.txt");
}

QString trainFolder(const QString &key)
{
    return workspace + QStringLiteral("train/") + key + QLatin1Char('/');
}

QString demoFolder(const QString &key)
{
    return workspace + QStringLiteral("demo/") + key + QLatin1Char('/');
}

bool isDamagedAudioSize(qint64 size)
{
    return size < minimumAudioBytes;
}

bool isMaterial(const QTreeWidgetItem *item)
{
    return item && (!item->text(3).isEmpty() || !item->text(4).isEmpty());
}

QString firstFreeName(const QString &wanted, const std::function<bool(const QString &)> &taken)
{
    QString name = wanted;
    for (int i = 1; taken(name); ++i)
        name = wanted + QLatin1Char('.') + QString::number(i);
    return name;
}

QUrl onlineListUrl(const QString &serverBase)
{
    QString base = serverBase;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QStringLiteral("/inter/data.php"));
}

QString contentServerBase()
{
    const QString fromEnvironment = qEnvironmentVariable("ZORVA_CONTENT_URL");
    return fromEnvironment.isEmpty() ? QStringLiteral("http://127.0.0.1:8471") : fromEnvironment;
}

} // namespace MaterialPaths
