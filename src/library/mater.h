#pragma once

#include <QByteArray>
#include <QMap>
#include <QNetworkReply>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <memory>

class DownloadManager;
class Importer;
class QMenu;
class QNetworkAccessManager;
class QSkinObject;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui {
class Mater;
}

// The library window: selections, online catalogue, downloads and the learner's imports in
// four tabs. A chosen material leaves the panel only as paths through the five signals.
class Mater : public QWidget
{
    Q_OBJECT
public:
    explicit Mater(QWidget *parent = nullptr);
    ~Mater() override;

    void loadXml(QTreeWidget *tree, const QString &fileName);
    // mode 0: the online tree (hide what is downloaded, offer the rest for download);
    // mode 1: the library trees (study, and review where a training folder exists).
    void refreshStatus(QTreeWidget *tree, int mode);
    void chooseMaterial(QTreeWidgetItem *item, int column);
    // Rewrites fileName from tree; the previous file stays intact when writing fails.
    bool saveTree(QTreeWidget *tree, const QString &fileName, const QString &failText);
    void requestOnlineList(QTreeWidget *tree, const QUrl &url);
    // The keyboard goes to the list of the tab shown, on its current entry.
    void focusList();

signals:
    void switchSig(const QString &audioPath);
    void chooseDumpSig(const QString &trainFolder);
    void chooseSig(const QString &trainFolder);
    void pathSig(const QString &audioPath);
    void demoPathSig(const QString &demoFolder);

public slots:
    void sltOnlineXml();
    void sltNetError(QNetworkReply::NetworkError code);
    void onWebDataReady();
    void on_actionClear_triggered();
    void on_local_itemClicked(QTreeWidgetItem *item, int column);
    void on_online_itemClicked(QTreeWidgetItem *item, int column);
    void on_downs_itemClicked(QTreeWidgetItem *item, int column);
    void on_imports_itemClicked(QTreeWidgetItem *item, int column);
    void on_actionRename_triggered();
    void on_actionRemove_triggered();
    void sltDownManage(const QString &path);
    void sltImport(const QString &name, const QString &audioFileName);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Parts of the online catalogue and the import dialog (mater_online.cpp).
    void createOnlineParts();
    void connectOnlineParts();
    void showImporter();

    void scanWorkspace();
    void fitWordsOfTheLanguage();
    void keepBrokenList(const QString &fileName);
    void addButtonEntry(QTreeWidget *tree, const QString &iconPath, const QString &text);
    QTreeWidget *currentTree() const;
    bool isButtonEntry(const QTreeWidgetItem *item) const;
    void forgetMaterial(const QString &audioName);
    void dropDamagedMaterial(QTreeWidgetItem *item);
    void removeItem(QTreeWidgetItem *item);
    bool saveTreeOf(QTreeWidget *tree);
    QWidget *messageParent();
    bool confirmDeletion(const QTreeWidgetItem *item);

    // Download states of the online tab (mater_online.cpp).
    QMap<QString, QTreeWidgetItem *>::iterator pendingFor(const QUrl &url);
    void showDownloadProgress(const QUrl &url, qint64 received, qint64 total);
    void showDownloadFailed(const QUrl &url, const QString &reason);
    void markFailed(QTreeWidgetItem *item, const QString &reason);
    QString replaceRefusal(const QString &path, const QUrl &url);

    std::unique_ptr<Ui::Mater> ui;
    std::unique_ptr<QSkinObject> m_skin;
    QNetworkAccessManager *m_netManager = nullptr;
    QMap<QNetworkReply *, QTreeWidget *> m_replyTrees;
    QMap<QNetworkReply *, QByteArray> m_replyBuffers;
    QStringList m_audioNames;
    QStringList m_textNames;
    QStringList m_transNames;
    QStringList m_trainDirs;
    QMenu *m_contextMenu = nullptr;
    QTreeWidgetItem *m_contextItem = nullptr;
    DownloadManager *m_downloader = nullptr; // owned; made in createOnlineParts()
    QSet<QString> m_finishedFiles;
    QMap<QString, QTreeWidgetItem *> m_pendingItems;
    Importer *m_importer = nullptr; // child of the panel; made in createOnlineParts()
};
