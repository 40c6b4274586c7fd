#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QFile;
class QNetworkReply;
class QUrl;

// One ranged GET of a file, written chunk by chunk at its own offset of a file that
// the controller shares between all parts.
class Download final : public QObject
{
    Q_OBJECT
public:
    explicit Download(int index, QObject *parent = nullptr);

    void StartDownload(const QUrl &url, QFile *file, qint64 start, qint64 end);

    // Inactivity limit of the request in milliseconds; 0 waits forever.
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }

    // Valid once DownloadFinished() was emitted.
    bool failed() const { return !m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }

signals:
    void DownloadFinished();
    void DownReadyRead(int nBytes);

public slots:
    void FinishedSlot();
    void HttpReadyRead();

private:
    bool answerFitsRange() const;

    QNetworkAccessManager manager;
    QNetworkReply *reply = nullptr;
    QFile *file = nullptr;
    int index = 0;
    qint64 done = 0;
    qint64 start = 0;
    qint64 end = 0;
    int m_transferTimeout = 30000;
    QString m_errorString;
};
