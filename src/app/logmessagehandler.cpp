#include "logmessagehandler.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace {

QString recordTemplate(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("\r\nDebug[%1]: %2\n");
    case QtInfoMsg:
        return QStringLiteral("\r\nInfo[%1]: %2\n");
    case QtWarningMsg:
        return QStringLiteral("\r\nWarning[%1]: %2\n");
    case QtCriticalMsg:
        return QStringLiteral("\r\nCritical[%1]: %2\n");
    case QtFatalMsg:
        return QStringLiteral("\r\nFatal[%1]: %2\n");
    }
    return QString();
}

// The GUI thread and the recording thread log at the same time; without the lock two
// appends could interleave inside one record.
QMutex &logFileMutex()
{
    static QMutex mutex;
    return mutex;
}

} // namespace

QString logRecordText(QtMsgType type, const QDateTime &when, const QString &message)
{
    const QString pattern = recordTemplate(type);
    if (pattern.isEmpty())
        return QString();
    // Both placeholders in one pass, so a "%1" or "%2" inside the message stays as it is.
    return pattern.arg(when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), message);
}

void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    Q_UNUSED(context)
    // UTF-8 whatever the locale, so that Chinese texts survive in the log.
    QByteArray bytes = logRecordText(type, QDateTime::currentDateTime(), message).toUtf8();
    bytes.append('\n');

    QMutexLocker locker(&logFileMutex());
    QFile file(QStringLiteral("zorva.log"));
    // A log that cannot be written is dropped silently: reporting it would recurse.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(bytes);
    file.close();
}
