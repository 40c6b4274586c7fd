#include "downloadcontrol.h"

#include "archivesignature.h"
#include "download.h"
#include "updaterfunctions.h"

#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

DownloadControl::DownloadControl(QObject *parent)
    : QObject(parent)
    , file(new QFile(this))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &DownloadControl::missDeadline);
}

DownloadControl::~DownloadControl() = default;

QString DownloadControl::fileName() const
{
    return file->fileName();
}

qint64 DownloadControl::GetFileSize(const QUrl &source)
{
    QNetworkAccessManager manager;
    qDebug() << "Getting the file size...";
    QNetworkRequest request(source);
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(m_transferTimeout);
    QNetworkReply *reply = manager.head(request);
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit, Qt::DirectConnection);
    if (!reply->isFinished())
        loop.exec();

    qint64 size = 0;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page has a length too; it is not the file's.
    if (reply->isFinished() && reply->error() == QNetworkReply::NoError && status >= 200
        && status < 300)
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
    m_received = 0;
    url = QUrl(source);
    m_errorString.clear();
    m_sha256.clear();
    fileSize = GetFileSize(url);

    file->setFileName(UpdaterFunctions::downloadFileName(url));
    if (fileSize <= 0)
        m_errorString = tr("the server gave no size for %1").arg(source);
    else if (fileSize > kMaxFileSize)
        m_errorString = tr("%1 is larger than 2 GiB (%2 bytes)").arg(source).arg(fileSize);
    // Unbuffered: every byte counted as written is in the file, where the hasher reads it.
    else if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        m_errorString = tr("cannot write %1: %2").arg(file->fileName(), file->errorString());
    if (!m_errorString.isEmpty()) {
        // Report from the event loop, as a running download would.
        QTimer::singleShot(0, this, &DownloadControl::finishFile);
        return;
    }

    const qint64 minimumRate = 64 * 1024;
    m_deadline.start(
        m_fixedDeadline > 0 ? m_fixedDeadline : int(600000 + fileSize * 1000 / minimumRate));
    if (m_hashing)
        m_hasher = std::make_unique<FileHasher>(file->fileName());
    qDebug() << "Start download file from" << source;
    for (int i = 0; i < partCount; ++i) {
        const auto range = UpdaterFunctions::partRange(fileSize, i, partCount);
        auto *part = new Download(i + 1, this);
        part->setTransferTimeout(m_transferTimeout);
        part->setFileSize(fileSize);
        connect(part, &Download::DownloadFinished, this, &DownloadControl::SubPartFinished);
        connect(part, &Download::DownloadFinished, part, &QObject::deleteLater);
        connect(part, &Download::DownReadyRead, this, &DownloadControl::HttpReadRead);
        part->StartDownload(url, file, range.first, range.second);
    }
}

void DownloadControl::HttpReadRead(int nBytes)
{
    m_received += nBytes;
    // A single part writes from the first byte on, in order.
    if (m_hasher && partCount == 1)
        m_hasher->bytesReady(m_received);
    emit DownReadyRead(nBytes);
}

void DownloadControl::missDeadline()
{
    const QString reason = tr("%1 was not complete after %2 s")
                               .arg(url.toString())
                               .arg(m_deadline.interval() / 1000);
    for (Download *part : findChildren<Download *>())
        part->abort(reason);
}

void DownloadControl::SubPartFinished()
{
    auto *part = qobject_cast<Download *>(sender());
    if (part && part->failed() && m_errorString.isEmpty())
        m_errorString = part->errorString();
    if (++finishedParts < partCount)
        return;
    if (m_errorString.isEmpty() && file->size() != fileSize)
        m_errorString = tr("%1 arrived with %2 of %3 bytes")
                            .arg(file->fileName())
                            .arg(file->size())
                            .arg(fileSize);
    finishFile();
}

void DownloadControl::finishFile()
{
    m_deadline.stop();
    file->close();
    if (m_hasher && m_errorString.isEmpty()) {
        m_sha256 = m_hasher->digest(fileSize);
        if (m_sha256.isEmpty())
            m_errorString = tr("cannot read back %1").arg(file->fileName());
    }
    m_hasher.reset();
    if (!m_errorString.isEmpty())
        qWarning() << "Download of" << url.toString() << "failed:" << m_errorString;
    emit FileDownloadFinished();
    qDebug() << "Download finished";
}
