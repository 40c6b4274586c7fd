#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

// Facts about the running process and about recorded files that the recorder tests compare.
namespace RecordingProbe {

inline int entryCount(const QString &folder)
{
    return static_cast<int>(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

inline int openHandles()
{
    return entryCount(QStringLiteral("/proc/self/fd"));
}
inline int threadCount()
{
    return entryCount(QStringLiteral("/proc/self/task"));
}

// Resident memory in kB, as the kernel reports it.
inline qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// True when the file starts with an MPEG-1 Layer III frame header, as LAME writes it
// without tags.
inline bool startsWithMp3Frame(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(2);
    return head.size() == 2 && static_cast<unsigned char>(head[0]) == 0xFF
        && (static_cast<unsigned char>(head[1]) & 0xFE) == 0xFA;
}

} // namespace RecordingProbe
