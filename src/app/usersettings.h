#pragma once

#include <QSettings>
#include <QStandardPaths>

// The learner's own choices that outlive the program (the speed of each material...), in the
// desktop's native settings store under "zorva", apart from the installation folder.
class UserSettings : public QSettings
{
public:
    UserSettings()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zorva"),
            QStringLiteral("zorva"))
    {
    }
};

// Where files made from materials (slower copies, waveform peaks) are kept: the desktop's
// cache folder under "zorva", whatever the application's own name.
inline QString userCacheFolder(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/zorva/") + name;
}
