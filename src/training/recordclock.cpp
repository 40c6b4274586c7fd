#include "recordclock.h"

#include <QDir>

#include <algorithm>

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
    // Only ASCII digits count: other scripts' digits never name a repeat.
    const auto digitLed = [](const QString &name) {
        return !name.isEmpty() && name.at(0) >= QLatin1Char('0') && name.at(0) <= QLatin1Char('9');
    };
    const auto last = std::find_if(fileNamesByName.crbegin(), fileNamesByName.crend(), digitLed);
    if (last == fileNamesByName.crend())
        return 0;
    const int repeat = last->at(0).unicode() - '0';
    return (repeat >= 1 && repeat <= repeatButtonCount) ? repeat : 0;
}

QStringList folderFileNamesByName(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}
