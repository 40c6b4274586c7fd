#include "updaterfunctions.h"

#include <QUrl>

namespace UpdaterFunctions {

int parseVersionNumber(const QString &text)
{
    bool ok = false;
    const int version = text.trimmed().toInt(&ok, 10);
    return ok ? version : 0;
}

QString updateServerBase()
{
    QString base = QString::fromLocal8Bit(qgetenv("ZORVA_UPDATE_URL")).trimmed();
    if (base.isEmpty())
        base = QStringLiteral("http://127.0.0.1:8471");
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString archiveUrl(const QString &serverBase, int version)
{
    return serverBase + QStringLiteral("/software/ZORVA/upgrade/%1.zip").arg(version);
}

QStringList archiveUrls(const QString &serverBase, int current, int target)
{
    // The target comes from the server's version file: a bogus huge number must not
    // build millions of addresses. An update that far behind stops at the first
    // archive the server does not have, like any other missing version.
    const qint64 last = qMin<qint64>(target, qint64(current) + kMaxVersionsPerUpdate);
    QStringList urls;
    for (qint64 version = qint64(current) + 1; version <= last; ++version)
        urls.append(archiveUrl(serverBase, int(version)));
    return urls;
}

QString lastPathComponent(const QUrl &url)
{
    const QString path = url.path();
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString downloadFileName(const QUrl &url)
{
    const QString name = lastPathComponent(url);
    return name.isEmpty() ? QStringLiteral("index.html") : name;
}

QString executableName(const QString &baseName)
{
#ifdef Q_OS_WIN
    return baseName + QStringLiteral(".exe");
#else
    return baseName;
#endif
}

QPair<qint64, qint64> partRange(qint64 fileSize, int index, int partCount)
{
    qint64 start = fileSize * index / partCount;
    const qint64 end = (index + 1) * fileSize / partCount;
    if (index > 0 && start > 0)
        --start;
    return {start, end};
}

QString safeEntryPath(const QString &entryName)
{
    QString name = entryName;
    // Archives made on Windows may separate folders with backslashes.
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return {};
    QStringList parts;
    for (const QString &part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            parts.append(part);
    }
    QString path = parts.join(QLatin1Char('/'));
    if (!path.isEmpty() && name.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace UpdaterFunctions
