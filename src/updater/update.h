#pragma once

#include <QMainWindow>
#include <QNetworkAccessManager>
#include <QString>
#include <QStringList>

#include <memory>

class DownloadControl;
class QMessageBox;
class QNetworkReply;

namespace Ui {
class updateClass;
}

// The updater's window: fetches the archive of every version after the installed one,
// checks its signature, installs it over the installation folder (the working directory)
// all or nothing, and finally offers to restart the trainer.
class update final : public QMainWindow
{
    Q_OBJECT
public:
    explicit update(QWidget *parent = nullptr);
    ~update() override;

    void SetCurrentVersion(const QString &text);
    void SetTargetVersion(const QString &text);
    void BuildVersionList();
    bool StartUpdate();

    DownloadControl *downloadControl() const { return downloader; }
    QStringList pendingArchives() const { return urlList; }

public slots:
    void DownFileReadyRead(int nBytes);
    void DownFileFinished();
    void Exit(bool bChecked = false);
    void RestartZORVA(bool bChecked = false);

private:
    bool fetch(const QString &url);
    void signatureArrived();
    void fetchArchive();
    bool installArchive(const QString &name);
    void installNext();
    void showFailure();
    QMessageBox *makeBox(const QString &text);
    void resetProgress();

    DownloadControl *downloader = nullptr;
    qint64 fileSize = 0;
    int targetVersion = 0;
    int currentVersion = 0;
    int stepVersion = 0;
    QStringList urlList;
    QString currentUrl;
    qint64 receivedBytes = 0;
    QNetworkAccessManager m_network;
    QByteArray m_signature;
    std::unique_ptr<Ui::updateClass> ui;
};
