#pragma once

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

// Archives written entry by entry with QuaZIP, so that tests can store any name, including
// the hostile ones that the zip tool would clean up.
namespace ZipFixtures {

using Entry = QPair<QString, QByteArray>; // name, data

inline bool writeZip(const QString &path, const QList<Entry> &entries)
{
    QuaZip zip(path);
    bool written = zip.open(QuaZip::mdCreate);
    for (const Entry &entry : entries) {
        QuaZipFile file(&zip);
        written = written && file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first))
            && file.write(entry.second) == entry.second.size();
        file.close();
        written = written && file.getZipError() == ZIP_OK;
    }
    zip.close();
    return written && zip.getZipError() == ZIP_OK;
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Bytes that do not compress, so sizes on the wire match sizes on disk.
inline QByteArray noise(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed * 2654435761u + 1;
    for (char &byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

} // namespace ZipFixtures
