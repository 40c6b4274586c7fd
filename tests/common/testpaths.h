#pragma once

#include <QDir>
#include <QString>

namespace TestPaths {

// CTest passes these; a test started by hand falls back to the usual build layout.
inline QString sourceDir()
{
    const QByteArray dir = qgetenv("ZORVA_SOURCE_DIR");
    return dir.isEmpty() ? QDir::currentPath() + QStringLiteral("/..") : QString::fromLocal8Bit(dir);
}

inline QString stageDir()
{
    const QByteArray dir = qgetenv("ZORVA_STAGE_DIR");
    return dir.isEmpty() ? QDir::currentPath() + QStringLiteral("/../stage") : QString::fromLocal8Bit(dir);
}

inline QString testData(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/data/") + name;
}

} // namespace TestPaths
