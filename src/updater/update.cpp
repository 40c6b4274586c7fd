#include "update.h"

#include "downloadcontrol.h"
#include "extractzip.h"
#include "updaterfunctions.h"
#include "ui_update.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <limits>

using namespace UpdaterFunctions;

update::update(QWidget *parent)
    : QMainWindow(parent)
    , downloader(new DownloadControl)
    , ui(std::make_unique<Ui::updateClass>())
{
    ui->setupUi(this);
    setFixedSize(size());
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
    if (urlList.isEmpty()) {
        QMessageBox *box = makeBox(tr("没有版本需要更新！"));
        connect(box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::Exit);
        box->show();
        return false;
    }
    stepVersion = currentVersion;
    return fetch(urlList.first());
}

// Learns the archive's size and sets its download going; a size of 0 means the
// server cannot deliver it, which ends the update like a damaged archive.
bool update::fetch(const QString &url)
{
    currentUrl = url;
    fileSize = downloader->GetFileSize(QUrl(url));
    resetProgress();
    if (fileSize <= 0) {
        qWarning() << "No archive at" << url;
        showFailure();
        return false;
    }
    downloader->StartFileDownload(url, 1);
    return true;
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
    const bool downloaded = downloader->succeeded();
    const bool ok = downloaded && !name.isEmpty() && ExtractZip(name, QStringLiteral("./"));
    if (!name.isEmpty())
        QFile::remove(name);
    if (!ok) {
        showFailure();
        return;
    }
    urlList.removeFirst();
    if (urlList.isEmpty()) {
        QMessageBox *box = makeBox(tr("更新完成是否重启ZORVA？"));
        connect(box->addButton(QMessageBox::Ok), &QPushButton::clicked, this, &update::RestartZORVA);
        connect(box->addButton(QMessageBox::Cancel), &QPushButton::clicked, this, &update::Exit);
        box->show();
        return;
    }
    ++stepVersion;
    // Leave the downloader's signal first: the next size query runs a nested loop.
    QTimer::singleShot(0, this, &update::installNext);
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
    auto *box = new QMessageBox(QMessageBox::Information, tr("提示"), text, QMessageBox::NoButton, this);
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
    if (!QProcess::startDetached(program, {}, folder))
        qWarning() << "Cannot start" << program;
    QCoreApplication::exit(0);
}
