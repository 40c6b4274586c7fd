#pragma once

#include <QList>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QIODevice;
class QSaveFile;

// Fetches single material files into "./workspace/". Each body is written to disk as it
// arrives and replaces the old file only once it is complete, so a failed or cut-off
// transfer never leaves a truncated material file behind.
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QObject *parent = nullptr);
    ~DownloadManager() override;

    void download(const QUrl &url);

    // Only web addresses are fetched: through file:, data: or qrc: a catalogue could copy
    // the learner's own files, or anything else on the machine, into the workspace.
    // Empty for an address that is fetched, else why it is not.
    static QString refusalOf(const QUrl &url);

    // Asked before a finished file is written to path: a non-empty answer is the reason
    // why it must not be (the name belongs to something else); the download then fails.
    using ReplaceCheck = std::function<QString(const QString &path, const QUrl &url)>;
    void setReplaceCheck(ReplaceCheck check) { m_replaceCheck = std::move(check); }

    // The name a download of url is saved under: the URL's file name ("download" when it
    // has none), with ".0", ".1", ... appended when that name is taken in the program folder.
    static QString uniqueSaveName(const QUrl &url);

signals:
    void finishSig(const QString &path);
    void networkErrorSig();
    // A download that ends without a saved file: always delivered from the event loop,
    // never from inside download().
    void failSig(const QUrl &url, const QString &reason);
    void progressSig(const QUrl &url, qint64 received, qint64 total);

public slots:
    void downloadFinished(QNetworkReply *reply);
    void slotNetError(QNetworkReply::NetworkError code);

private:
    struct Transfer
    {
        QUrl url; // as asked for, before any redirect
        QString path;
        QSaveFile *file = nullptr; // null when the target could not be opened
        QString error; // why the file could not be opened or written
    };

    void startTransfer(QNetworkReply *reply, const QUrl &url);
    void writeAvailable(QNetworkReply *reply);
    // Appends everything data has to the open target; false when the disk refused it.
    static bool saveToFile(QSaveFile *target, QIODevice *data);
    bool commitTransfer(QNetworkReply *reply, Transfer &transfer);
    void fail(const QUrl &url, const QString &reason);

    QNetworkAccessManager manager { this };
    QList<QNetworkReply *> currentDownloads;
    QMap<QNetworkReply *, Transfer> m_transfers;
    ReplaceCheck m_replaceCheck;
};
