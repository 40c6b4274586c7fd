#include "recordclock.h"

#include <QDir>

namespace {
constexpr int repeatButtonCount = 5;
}

QString recordClockText(int seconds)
{
    const QChar pad = QLatin1Char('0');
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, pad).arg(seconds % 60, 2, 10, pad);
}

int unlockedRepeatCount(const QStringList &fileNamesByName)
{
    if (fileNamesByName.isEmpty() || fileNamesByName.constLast().isEmpty())
        return 0;
    const QChar first = fileNamesByName.constLast().at(0);
    // Only ASCII digits count: other scripts' digits never name a repeat.
    const int repeat = (first >= QLatin1Char('0') && first <= QLatin1Char('9'))
                           ? first.unicode() - '0'
                           : 0;
    return (repeat >= 1 && repeat <= repeatButtonCount) ? repeat : 0;
}

QStringList folderFileNamesByName(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}
