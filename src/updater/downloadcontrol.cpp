#include "downloadcontrol.h"

#include "download.h"
#include "updaterfunctions.h"

#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

DownloadControl::DownloadControl(QObject *parent)
    : QObject(parent)
    , file(new QFile(this))
{
}

QString DownloadControl::fileName() const
{
    return file->fileName();
}

qint64 DownloadControl::GetFileSize(const QUrl &source)
{
    QNetworkAccessManager manager;
    qDebug() << "Getting the file size...";
    QNetworkRequest request(source);
    request.setTransferTimeout(m_transferTimeout);
    QNetworkReply *reply = manager.head(request);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit, Qt::DirectConnection);
    if (!reply->isFinished())
        loop.exec();

    qint64 size = 0;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page has a length too; it is not the file's.
    if (reply->isFinished() && reply->error() == QNetworkReply::NoError && status >= 200 && status < 300)
        size = qMax<qint64>(0, reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    if (reply->isFinished())
        reply->deleteLater();
    else
        reply->abort(); // the loop was left because the application is quitting
    qDebug() << "The file size is:" << size;
    return size;
}

void DownloadControl::StartFileDownload(const QString &source, int parts)
{
    partCount = qMax(1, parts);
    finishedParts = 0;
    url = QUrl(source);
    m_errorString.clear();
    fileSize = GetFileSize(url);

    file->setFileName(UpdaterFunctions::downloadFileName(url));
    if (fileSize <= 0)
        m_errorString = tr("the server gave no size for %1").arg(source);
    else if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        m_errorString = tr("cannot write %1: %2").arg(file->fileName(), file->errorString());
    if (!m_errorString.isEmpty()) {
        // Report from the event loop, as a running download would.
        QTimer::singleShot(0, this, &DownloadControl::finishFile);
        return;
    }

    qDebug() << "Start download file from" << source;
    for (int i = 0; i < partCount; ++i) {
        const auto range = UpdaterFunctions::partRange(fileSize, i, partCount);
        auto *part = new Download(i + 1, this);
        part->setTransferTimeout(m_transferTimeout);
        connect(part, &Download::DownloadFinished, this, &DownloadControl::SubPartFinished);
        connect(part, &Download::DownloadFinished, part, &QObject::deleteLater);
        connect(part, &Download::DownReadyRead, this, &DownloadControl::HttpReadRead);
        part->StartDownload(url, file, range.first, range.second);
    }
}

void DownloadControl::HttpReadRead(int nBytes)
{
    emit DownReadyRead(nBytes);
}

void DownloadControl::SubPartFinished()
{
    auto *part = qobject_cast<Download *>(sender());
    if (part && part->failed() && m_errorString.isEmpty())
        m_errorString = part->errorString();
    if (++finishedParts < partCount)
        return;
    if (m_errorString.isEmpty() && file->size() != fileSize)
        m_errorString = tr("%1 arrived with %2 of %3 bytes").arg(file->fileName()).arg(file->size()).arg(fileSize);
    finishFile();
}

void DownloadControl::finishFile()
{
    file->close();
    if (!m_errorString.isEmpty())
        qWarning() << "Download of" << url.toString() << "failed:" << m_errorString;
    emit FileDownloadFinished();
    qDebug() << "Download finished";
}
