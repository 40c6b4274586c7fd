#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class DownloadControl;
class QMessageBox;

namespace Ui {
class updateClass;
}

// The updater's window: fetches the archive of every version after the installed one,
// unpacks each over the installation folder (the working directory) and finally
// offers to restart the trainer.
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
    std::unique_ptr<Ui::updateClass> ui;
};
