// The online catalogue, the material downloads and the import dialog of the library panel.
#include "downloadmanager.h"
#include "importer.h"
#include "mater.h"
#include "materialpaths.h"
#include "nofocusrectanglestyle.h"
#include "ui_mater.h"
#include "xmlparser.h"
#include "xmlwriter.h"

#include <QBuffer>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QTreeWidget>
#include <vector>

using namespace MaterialPaths;

namespace {
const QString customList = QStringLiteral("custom.xml");
const QString importList = QStringLiteral("import.xml");

// The icons of the toolkit's common style, like those the list reader gives its items.
QIcon commonIcon(QStyle::StandardPixmap which)
{
    const NoFocusRectangleStyle style;
    return style.standardIcon(which);
}

// The base name shared by a material's three files; a translation's "@T" belongs to its
// material, so "talk@T.txt" gives "talk" like "talk.mp3" and "talk.txt".
QString sharedBaseName(const QString &fileName)
{
    const QString base = materialBaseName(fileName);
    const bool translation
        = fileName.endsWith(QLatin1String("@T.txt")) && base.endsWith(QLatin1String("@T"));
    return translation ? base.left(base.size() - 2) : base;
}

// A catalogue entry that no tree holds: the item and, when it had one, a copy of its
// category, so that the entry still knows where it belongs in the downloads tab.
QTreeWidgetItem *detachedCopy(QTreeWidgetItem *item)
{
    if (!item->treeWidget())
        return item; // detached by an earlier reload already
    auto *copy = new QTreeWidgetItem(*item);
    if (item->parent())
        (new QTreeWidgetItem(*item->parent()))->addChild(copy);
    return copy;
}

void deleteDetached(QTreeWidgetItem *item)
{
    QTreeWidgetItem *top = item;
    while (top->parent())
        top = top->parent();
    delete top;
}

QStringList materialFileNames(const QString &base)
{
    return { base + QStringLiteral(".mp3"), base + QStringLiteral(".txt"),
        base + QStringLiteral("@T.txt") };
}

void appendOnce(QStringList &names, const QString &name)
{
    if (!names.contains(name))
        names.append(name);
}

std::vector<QTreeWidgetItem *> materialsOf(QTreeWidget *tree)
{
    std::vector<QTreeWidgetItem *> found;
    std::vector<QTreeWidgetItem *> pending { tree->invisibleRootItem() };
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        if (isMaterial(item))
            found.push_back(item);
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.push_back(item->child(i));
    }
    return found;
}

// A catalogue may name its files relative to itself, which lets the same catalogue be
// served from any address; the tab keeps absolute URLs so that downloads and the saved
// lists do not depend on where the catalogue came from.
void resolveUrls(QTreeWidget *tree, const QUrl &listUrl)
{
    for (QTreeWidgetItem *item : materialsOf(tree)) {
        for (int column = 2; column <= 4; ++column) {
            const QString text = item->text(column).trimmed();
            if (!text.isEmpty())
                item->setText(column, listUrl.resolved(QUrl(text)).toString());
        }
    }
}

QTreeWidgetItem *findCategory(QTreeWidget *tree, const QString &title, int firstIndex)
{
    for (int i = tree->topLevelItemCount() - 1; i >= firstIndex; --i) {
        QTreeWidgetItem *entry = tree->topLevelItem(i);
        if (entry->text(0) == title && !isMaterial(entry))
            return entry;
    }
    return nullptr;
}

QTreeWidgetItem *appendCategory(QTreeWidget *tree, const QString &title)
{
    auto *category = new QTreeWidgetItem(tree);
    category->setText(0, title);
    category->setData(0, Qt::UserRole, QStringLiteral("train"));
    category->setIcon(0, commonIcon(QStyle::SP_DirIcon));
    return category;
}

QTreeWidgetItem *newMaterialEntry(const QString &title, const QString &key, const QString &url)
{
    auto *entry = new QTreeWidgetItem;
    entry->setText(0, title);
    entry->setText(1, Mater::tr("_TEXT_STUDY_"));
    entry->setText(3, key);
    entry->setText(4, url);
    entry->setData(0, Qt::UserRole, QStringLiteral("case"));
    entry->setIcon(0, commonIcon(QStyle::SP_FileIcon));
    return entry;
}
} // namespace

void Mater::createOnlineParts()
{
    m_downloader = new DownloadManager(this);
    m_importer = new Importer(this);
}

void Mater::connectOnlineParts()
{
    connect(m_downloader, &DownloadManager::finishSig, this, &Mater::sltDownManage);
    connect(m_downloader, &DownloadManager::progressSig, this, &Mater::showDownloadProgress);
    connect(m_downloader, &DownloadManager::failSig, this, &Mater::showDownloadFailed);
    m_downloader->setReplaceCheck(
        [this](const QString &path, const QUrl &url) { return replaceRefusal(path, url); });
    m_importer->hide();
    connect(m_importer, &Importer::sigImport, this, &Mater::sltImport);
}

void Mater::showImporter()
{
    m_importer->show();
    m_importer->raise();
    m_importer->activateWindow();
}

void Mater::requestOnlineList(QTreeWidget *tree, const QUrl &url)
{
    QNetworkReply *reply = m_netManager->get(QNetworkRequest(url));
    m_replyTrees.insert(reply, tree);
    m_replyBuffers.insert(reply, QByteArray());
    connect(reply, &QNetworkReply::readyRead, this, &Mater::onWebDataReady);
    connect(reply, &QNetworkReply::finished, this, &Mater::sltOnlineXml);
    connect(reply, &QNetworkReply::errorOccurred, this, &Mater::sltNetError);
    if (QTreeWidgetItem *status = ui->online->topLevelItem(0))
        status->setText(0, tr("_TEXT_LOADING_"));
}

void Mater::onWebDataReady()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    const auto buffer = m_replyBuffers.find(reply);
    if (reply && buffer != m_replyBuffers.end())
        buffer->append(reply->readAll());
}

void Mater::sltOnlineXml()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply) {
        qDebug("sltOnlineXml pReply is null!");
        return;
    }
    // Each list request is used once; its reply and buffer go as soon as it has finished.
    reply->deleteLater();
    QTreeWidget *tree = m_replyTrees.take(reply);
    if (!m_replyBuffers.contains(reply))
        return; // failed: sltNetError has already shown it
    QBuffer body;
    body.setData(m_replyBuffers.take(reply) + reply->readAll());
    if (!tree) {
        qDebug("slotOnlineXml pTree is null!");
        return;
    }
    // The reader decodes the bytes by the document's own declaration (UTF-8 by default),
    // so titles do not depend on the learner's locale.
    XmlParser parser(tree);
    parser.appendLog(QStringLiteral("Mater::sltOnlineXml() network xml!\n"));
    parser.parseDevice(&body);
    resolveUrls(tree, reply->url());
    refreshStatus(ui->online, 0);
    for (QTreeWidgetItem *item : materialsOf(ui->online)) {
        const auto pending = m_pendingItems.find(sharedBaseName(fileNameOf(item->text(2))));
        if (pending != m_pendingItems.end() && !pending.value()->treeWidget()) {
            deleteDetached(pending.value());
            pending.value() = item;
            item->setText(1, tr("_TEXT_DOWNLOADING_"));
        }
    }
    if (QTreeWidgetItem *status = ui->online->topLevelItem(0))
        status->setText(0, tr("_TEXT_RELOAD_"));
}

void Mater::sltNetError(QNetworkReply::NetworkError code)
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (reply) {
        m_replyTrees.remove(reply);
        m_replyBuffers.remove(reply);
    } else {
        qDebug("sltOnlineXml pReply is null!");
    }
    qDebug() << "sltNetError" << code;
    if (QTreeWidgetItem *status = ui->online->topLevelItem(0))
        status->setText(0, tr("_TEXT_ERRLOAD_"));
}

void Mater::on_online_itemClicked(QTreeWidgetItem *item, int column)
{
    if (!item)
        return;
    if (isButtonEntry(item)) {
        if (item->text(0) != tr("_TEXT_RELOAD_") && item->text(0) != tr("_TEXT_ERRLOAD_"))
            return;
        // Downloads in flight outlive the entries they were started from: each keeps a
        // detached copy (with its category's title) until the new catalogue lists it again.
        for (auto it = m_pendingItems.begin(); it != m_pendingItems.end(); ++it)
            it.value() = detachedCopy(it.value());
        while (ui->online->topLevelItemCount() > 1)
            removeItem(ui->online->topLevelItem(1));
        requestOnlineList(ui->online, onlineListUrl(contentServerBase()));
        return;
    }
    // Categories have no files to fetch; only a material with an audio URL downloads.
    if (column != 1 || !isMaterial(item) || item->text(2).isEmpty())
        return;
    for (int urlColumn = 2; urlColumn <= 4; ++urlColumn) {
        const QString refusal = DownloadManager::refusalOf(QUrl(item->text(urlColumn).trimmed()));
        if (!refusal.isEmpty()) {
            markFailed(item, refusal);
            return;
        }
    }
    m_pendingItems.insert(sharedBaseName(fileNameOf(item->text(2).trimmed())), item);
    item->setText(1, tr("_TEXT_DOWNLOADING_"));
    item->setToolTip(0, QString());
    item->setToolTip(1, QString());
    for (int urlColumn = 2; urlColumn <= 4; ++urlColumn)
        m_downloader->download(QUrl(item->text(urlColumn).trimmed()));
}

QMap<QString, QTreeWidgetItem *>::iterator Mater::pendingFor(const QUrl &url)
{
    for (auto it = m_pendingItems.begin(); it != m_pendingItems.end(); ++it) {
        for (int column = 2; column <= 4; ++column) {
            if (QUrl(it.value()->text(column).trimmed()) == url)
                return it;
        }
    }
    return m_pendingItems.end();
}

void Mater::showDownloadProgress(const QUrl &url, qint64 received, qint64 total)
{
    // The audio is nearly all of a material's bytes; its texts are a few hundred.
    const auto pending = pendingFor(url);
    if (pending != m_pendingItems.end() && total > 0
        && QUrl(pending.value()->text(2).trimmed()) == url)
        pending.value()->setText(1, tr("%1%").arg(received * 100 / total));
}

void Mater::showDownloadFailed(const QUrl &url, const QString &reason)
{
    const auto pending = pendingFor(url);
    if (pending == m_pendingItems.end())
        return; // one of its other files failed first
    QTreeWidgetItem *item = pending.value();
    m_pendingItems.erase(pending);
    if (item->treeWidget())
        markFailed(item, reason);
    else
        deleteDetached(item); // reloaded away: the new catalogue offers it again
}

// A click on the failed entry downloads it again; the reason stays at hand on the entry.
void Mater::markFailed(QTreeWidgetItem *item, const QString &reason)
{
    item->setText(1, tr("_TEXT_DOWNFAILED_"));
    item->setToolTip(0, reason);
    item->setToolTip(1, reason);
}

// A download never replaces a file that another listed material uses (a catalogue could
// name an import's only copy); a downloaded entry of the same audio file is the same
// material downloaded again.
QString Mater::replaceRefusal(const QString &path, const QUrl &url)
{
    const auto pending = pendingFor(url);
    const QString audioName = pending == m_pendingItems.end()
        ? QString()
        : fileNameOf(pending.value()->text(2).trimmed());
    const QString name = fileNameOf(path);
    for (QTreeWidget *tree : { ui->local, ui->downs, ui->imports }) {
        for (QTreeWidgetItem *entry : materialsOf(tree)) {
            const QString audio = fileNameOf(entry->text(4));
            if (audio.isEmpty() || (tree == ui->downs && audio == audioName))
                continue;
            const QString base = materialBaseName(audio);
            if (name == audio || name == base + QStringLiteral(".txt")
                || name == base + QStringLiteral("@T.txt"))
                return tr("%1 belongs to the material “%2” and is kept.").arg(name, entry->text(0));
        }
    }
    return QString();
}

void Mater::sltDownManage(const QString &path)
{
    const QString base = sharedBaseName(fileNameOf(path));
    const QStringList names = materialFileNames(base);
    m_finishedFiles.insert(fileNameOf(path));
    for (const QString &name : names) {
        if (!m_finishedFiles.contains(name))
            return;
    }
    for (const QString &name : names)
        m_finishedFiles.remove(name);
    appendOnce(m_audioNames, base);
    appendOnce(m_textNames, base);
    appendOnce(m_transNames, base);

    QTreeWidgetItem *item = m_pendingItems.take(base);
    if (!item)
        return;
    QTreeWidgetItem *parent = item->parent();
    const QString audioUrl = item->text(2);
    const QString audioName = fileNameOf(audioUrl);
    QTreeWidgetItem *entry = newMaterialEntry(item->text(0), audioName, audioUrl);
    if (m_trainDirs.contains(audioName))
        entry->setText(2, tr("_TEXT_REVIEW_"));
    if (parent) {
        const QString title = parent->text(0);
        QTreeWidgetItem *category = findCategory(ui->downs, title, 0);
        if (!category)
            category = appendCategory(ui->downs, title);
        category->addChild(entry);
    } else {
        ui->downs->addTopLevelItem(entry); // a material listed outside any category
    }
    if (item->treeWidget())
        removeItem(item);
    else
        deleteDetached(item);
    saveTree(ui->downs, customList, QStringLiteral("OnlineXmlWriter Failed"));
}

void Mater::sltImport(const QString &name, const QString &audioFileName)
{
    const QString categoryTitle = tr("_TEXT_IMPORTED_");
    QTreeWidgetItem *category = findCategory(ui->imports, categoryTitle, 1);
    if (!category)
        category = appendCategory(ui->imports, categoryTitle);
    const QString key = fileNameOf(audioFileName);
    // A name XML cannot carry would make every later save of the imports list fail.
    const QString title = xmlSafe(name).trimmed().isEmpty() ? key : xmlSafe(name);
    QTreeWidgetItem *entry = newMaterialEntry(title, key, audioFileName);
    if (m_trainDirs.contains(key))
        entry->setText(2, tr("_TEXT_REVIEW_"));
    category->addChild(entry);
    const QString base = materialBaseName(audioFileName);
    appendOnce(m_audioNames, base);
    appendOnce(m_textNames, base);
    appendOnce(m_transNames, base);
    saveTree(ui->imports, importList, QStringLiteral("ImportXmlWriter Failed"));
}
