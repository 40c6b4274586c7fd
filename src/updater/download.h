#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

class QFile;
class QNetworkReply;

// One ranged GET of a file, written chunk by chunk at its own offset of a file that
// the controller shares between all parts. A part writes nothing that lies outside its
// range or beyond the size the server declared, and takes up a dropped connection once
// where it stopped.
class Download final : public QObject
{
    Q_OBJECT
public:
    explicit Download(int index, QObject *parent = nullptr);

    void StartDownload(const QUrl &url, QFile *file, qint64 start, qint64 end);

    // Inactivity limit of the request in milliseconds; 0 waits forever.
    void setTransferTimeout(int milliseconds) { m_transferTimeout = milliseconds; }
    // The file's size as the server declared it; 0 when unknown.
    void setFileSize(qint64 size) { m_fileSize = size; }
    // Ends the part now as failed, for the reason given.
    void abort(const QString &reason);

    qint64 written() const { return done; }
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
    void sendRequest();
    bool answerFitsRange(const QNetworkReply *answer) const;
    QString unfitAnswer(const QNetworkReply *answer) const;
    bool canResume(const QNetworkReply *answer) const;
    qint64 lastByte() const;

    QNetworkAccessManager manager;
    QNetworkReply *reply = nullptr;
    QFile *file = nullptr;
    int index = 0;
    qint64 done = 0;
    qint64 start = 0;
    qint64 end = 0;
    QUrl m_url;
    qint64 m_fileSize = 0;
    qint64 m_requestedFrom = 0;
    bool m_answerChecked = false;
    bool m_resumed = false;
    int m_transferTimeout = 30000;
    QString m_errorString;
    QByteArray m_buffer; // reused: a fresh block per chunk costs more than the copy
};
