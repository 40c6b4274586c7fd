#include "update.h"

#include "archivesignature.h"
#include "downloadcontrol.h"
#include "extractzip.h"
#include "installtransaction.h"
#include "updaterfunctions.h"
#include "ui_update.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <limits>

using namespace UpdaterFunctions;

namespace {

// A signature is a line of base64; anything longer is not one.
constexpr qint64 kMaxSignatureBytes = 1024;

} // namespace

update::update(QWidget *parent)
    : QMainWindow(parent)
    , downloader(new DownloadControl)
    , ui(std::make_unique<Ui::updateClass>())
{
    ui->setupUi(this);
    setFixedSize(size());
    downloader->setHashing(true);
    connect(downloader, &DownloadControl::DownReadyRead, this, &update::DownFileReadyRead);
    connect(downloader, &DownloadControl::FileDownloadFinished, this, &update::DownFileFinished);
    connect(ui->QuitBtn, &QPushButton::clicked, this, &update::Exit);
}

update::~update()
{
    delete downloader;
}

void update::SetCurrentVersion(const QString &text)
{
    currentVersion = parseVersionNumber(text);
}

void update::SetTargetVersion(const QString &text)
{
    targetVersion = parseVersionNumber(text);
}

void update::BuildVersionList()
{
    urlList = archiveUrls(updateServerBase(), currentVersion, targetVersion);
}

bool update::StartUpdate()
{
    if (!downloader)
        return false;
    // An install that a crash cut short is brought to an end before anything else.
    recoverInterruptedInstall(QDir::currentPath());
    if (urlList.isEmpty()) {
        QMessageBox *box = makeBox(tr("没有版本需要更新！"));
        connect(box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::Exit);
        box->show();
        return false;
    }
    stepVersion = currentVersion;
    return fetch(urlList.first());
}

// Fetches the archive's signature first: without one there is nothing worth downloading.
bool update::fetch(const QString &url)
{
    currentUrl = url;
    fileSize = 0;
    resetProgress();
    QNetworkRequest request(QUrl(url + QStringLiteral(".sig")));
    request.setTransferTimeout(downloader->transferTimeout());
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::finished, this, &update::signatureArrived);
    return true;
}

void update::signatureArrived()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool answered = reply->error() == QNetworkReply::NoError && status == 200;
    m_signature = answered ? reply->read(kMaxSignatureBytes + 1) : QByteArray();
    if (!answered || m_signature.size() > kMaxSignatureBytes) {
        qWarning() << "No signature for" << currentUrl << reply->errorString();
        showFailure();
        return;
    }
    // Leave the reply's signal first: the size query runs a nested loop.
    QTimer::singleShot(0, this, &update::fetchArchive);
}

// A size of 0 means the server cannot deliver the archive, which ends the update like a
// damaged archive (the downloader reports it as a failed download).
void update::fetchArchive()
{
    downloader->StartFileDownload(currentUrl, 1);
    fileSize = downloader->expectedSize();
    resetProgress();
}

void update::resetProgress()
{
    receivedBytes = 0;
    ui->progressBar->setMaximum(int(qBound<qint64>(0, fileSize, std::numeric_limits<int>::max())));
    ui->progressBar->setValue(0);
}

void update::DownFileReadyRead(int nBytes)
{
    receivedBytes += nBytes;
    ui->progressBar->setValue(int(qMin<qint64>(receivedBytes, ui->progressBar->maximum())));
    qDebug("recv down size:%d\n", nBytes);
}

void update::DownFileFinished()
{
    qDebug("fileDown finished!\n");
    const QString name = lastPathComponent(QUrl(currentUrl));
    const bool ok = downloader->succeeded() && !name.isEmpty() && installArchive(name);
    if (!name.isEmpty())
        QFile::remove(name);
    if (!ok) {
        showFailure();
        return;
    }
    urlList.removeFirst();
    if (urlList.isEmpty()) {
        QMessageBox *box = makeBox(tr("更新完成是否重启ZORVA？"));
        connect(
            box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::RestartZORVA);
        connect(box->addButton(QMessageBox::Cancel), &QPushButton::clicked, this, &update::Exit);
        box->show();
        return;
    }
    ++stepVersion;
    // Leave the downloader's signal first: the next size query runs a nested loop.
    QTimer::singleShot(0, this, &update::installNext);
}

// Nothing is unpacked before the archive is known to be the one released for this version.
bool update::installArchive(const QString &name)
{
    const int version = stepVersion + 1;
    if (!ArchiveSignature::verify(
            version, downloader->sha256(), m_signature, ArchiveSignature::publicKey())) {
        qWarning() << "The signature of" << name << "does not match version" << version;
        return false;
    }
    return ExtractZip(name, QStringLiteral("./"));
}

void update::installNext()
{
    if (!urlList.isEmpty())
        fetch(urlList.first());
}

// The box names the version installed last, before the archive that failed.
void update::showFailure()
{
    const QString text = QStringLiteral("%1 %2").arg(stepVersion).arg(tr("版本更新失败！"));
    QMessageBox *box = makeBox(text);
    connect(box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::Exit);
    box->show();
}

// Buttons go in before show(): a box shown without any adds an OK button of its own.
QMessageBox *update::makeBox(const QString &text)
{
    auto *box
        = new QMessageBox(QMessageBox::Information, tr("提示"), text, QMessageBox::NoButton, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    return box;
}

void update::Exit(bool bChecked)
{
    Q_UNUSED(bChecked)
    QCoreApplication::quit();
}

void update::RestartZORVA(bool bChecked)
{
    Q_UNUSED(bChecked)
    const QString folder = QDir::currentPath();
    const QString program = folder + QLatin1Char('/') + executableName(QStringLiteral("ZORVA"));
    if (!QProcess::startDetached(program, {}, folder)) {
        // Quitting silently would leave the learner wondering where the trainer went.
        qWarning() << "Cannot start" << program;
        QMessageBox *box = makeBox(
            tr("无法启动ZORVA（%1），请手动启动。").arg(QDir::toNativeSeparators(program)));
        box->setIcon(QMessageBox::Warning);
        connect(box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::Exit);
        box->show();
        return;
    }
    QCoreApplication::exit(0);
}
