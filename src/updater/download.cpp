#include "download.h"

#include <QDebug>
#include <QFile>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

Download::Download(int partIndex, QObject *parent)
    : QObject(parent)
    , index(partIndex)
{
}

void Download::StartDownload(const QUrl &url, QFile *target, qint64 first, qint64 last)
{
    if (!target)
        return;
    done = 0;
    start = first;
    end = last;
    file = target;
    m_errorString.clear();

    QNetworkRequest request(url);
    request.setRawHeader("Range", QString::asprintf("Bytes=%lld-%lld", static_cast<long long>(start),
                                                   static_cast<long long>(end)).toLatin1());
    request.setTransferTimeout(m_transferTimeout);
    qDebug() << "Part" << index << "start download";

    reply = manager.get(request);
    connect(reply, &QNetworkReply::finished, this, &Download::FinishedSlot);
    connect(reply, &QNetworkReply::readyRead, this, &Download::HttpReadyRead);
}

// A server that ignores Range answers 200 with the whole file, which is only right
// for a part that starts at the beginning.
bool Download::answerFitsRange() const
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status == 206 || (status == 200 && start == 0);
}

void Download::HttpReadyRead()
{
    if (!file || !reply)
        return;
    if (!answerFitsRange()) {
        // An error page must not end up inside the file.
        reply->readAll();
        return;
    }
    const QByteArray bytes = reply->readAll();
    if (bytes.isEmpty())
        return;
    if (!file->seek(start + done) || file->write(bytes) != bytes.size()) {
        if (m_errorString.isEmpty())
            m_errorString = tr("cannot write %1: %2").arg(file->fileName(), file->errorString());
        reply->abort();
        return;
    }
    done += bytes.size();
    emit DownReadyRead(bytes.size());
}

void Download::FinishedSlot()
{
    if (!reply)
        return;
    HttpReadyRead(); // whatever is still buffered
    if (!reply)
        return; // the write failed and aborting finished the part already
    if (m_errorString.isEmpty()) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError)
            m_errorString = reply->errorString();
        else if (!answerFitsRange())
            m_errorString = tr("the server answered with status %1").arg(status);
    }
    if (file)
        file->flush();
    reply->deleteLater();
    reply = nullptr;
    file = nullptr;
    qDebug() << "Part" << index << "download finished";
    emit DownloadFinished();
}
