#include "mater.h"

#include "fittextdelegate.h"
#include "listkeys.h"
#include "materialpaths.h"
#include "qskinobject.h"
#include "ui_mater.h"
#include "xmlparser.h"
#include "xmlwriter.h"

#include <QContextMenuEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QTabBar>

#include <vector>

using namespace MaterialPaths;

namespace {
const QString customList = QStringLiteral("custom.xml");
const QString importList = QStringLiteral("import.xml");
const QString customFailText = QStringLiteral("OnlineXmlWriter Failed");
const QString importFailText = QStringLiteral("ImportXmlWriter Failed");
constexpr int tabsMargin = 4;
constexpr int statusSpacing = 4;
} // namespace

Mater::Mater(QWidget *parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::Mater>()),
      m_skin(std::make_unique<QSkinObject>(this, 4)),
      m_netManager(new QNetworkAccessManager(this)),
      m_contextMenu(new QMenu(this))
{
    createOnlineParts();
    scanWorkspace();

    ui->setupUi(this);
    addButtonEntry(ui->online, QStringLiteral(":/images/repeat02.png"), tr("_TEXT_RELOAD_"));
    addButtonEntry(ui->imports, QStringLiteral(":/images/xyd.png"), tr("_TEXT_IMPORT_"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    m_skin->setSkinFile(QStringLiteral("skin/skin.ini"));
    m_skin->startSkinning();

    loadXml(ui->local, QStringLiteral("weblist.xml"));
    requestOnlineList(ui->online, onlineListUrl(contentServerBase()));
    loadXml(ui->downs, customList);
    loadXml(ui->imports, importList);

    fitWordsOfTheLanguage();

    refreshStatus(ui->local, 1);
    refreshStatus(ui->downs, 1);
    refreshStatus(ui->imports, 1);

    connectOnlineParts();
    for (QTreeWidget *tree : { ui->local, ui->online, ui->downs, ui->imports })
        chooseWithKeys(tree);
    connect(ui->tabs, &QTabWidget::currentChanged, this, [this] {
        if (isActiveWindow())
            focusList();
    });
}

// Tab titles and status words are read in full in every language: the window is as wide as
// its tabs need, the status columns as wide as their longest word, the titles take the rest.
void Mater::fitWordsOfTheLanguage()
{
    ui->tabs->ensurePolished();
    ui->tabs->tabBar()->ensurePolished();
    const QMargins frame = contentsMargins(); // the skin's borders
    const int tabsWidth
        = ui->tabs->tabBar()->sizeHint().width() + frame.left() + frame.right() + 2 * tabsMargin;
    setMinimumWidth(qMax(minimumWidth(), tabsWidth));
    resize(qMax(width(), tabsWidth), height());

    auto *statusDelegate = new FitTextDelegate(this);
    const auto fit = [statusDelegate](QTreeWidget *tree, int column, const QStringList &words) {
        const QFontMetrics metrics(tree->font());
        const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
        int widest = 0;
        for (const QString &word : words)
            widest = qMax(widest, metrics.horizontalAdvance(word));
        tree->header()->setSectionResizeMode(column, QHeaderView::Fixed);
        tree->setColumnWidth(column, widest + 2 * margin + statusSpacing);
        tree->setItemDelegateForColumn(column, statusDelegate);
    };
    const QStringList study { tr("_TEXT_STUDY_") };
    const QStringList review { tr("_TEXT_REVIEW_") };
    for (QTreeWidget *tree : { ui->local, ui->downs, ui->imports }) {
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        fit(tree, 1, study);
        fit(tree, 2, review);
    }
    ui->online->header()->setStretchLastSection(false);
    ui->online->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    fit(ui->online, 1,
        { tr("_TEXT_DOWNLOAD_"), tr("_TEXT_DOWNLOADING_"), tr("_TEXT_DOWNFAILED_"), tr("%1%").arg(100) });
}

void Mater::focusList()
{
    QTreeWidget *tree = currentTree();
    if (!tree->currentItem() && tree->topLevelItemCount() > 0)
        tree->setCurrentItem(tree->topLevelItem(0));
    tree->setFocus(Qt::ShortcutFocusReason);
}

Mater::~Mater() = default;

void Mater::scanWorkspace()
{
    const QFileInfoList files =
        QDir(QStringLiteral("./workspace/")).entryInfoList(QDir::Files, QDir::Unsorted);
    for (const QFileInfo &file : files) {
        const QString base = materialBaseName(file.fileName());
        if (file.suffix() == QLatin1String("txt")) {
            if (base.endsWith(QLatin1String("@T")))
                m_transNames.append(base.left(base.size() - 2));
            else
                m_textNames.append(base);
        } else if (file.suffix() == QLatin1String("mp3") && file.size() > 0) {
            m_audioNames.append(base);
        }
    }
    // "." and ".." are no training folders; a key of ".." must never look reviewable.
    m_trainDirs = QDir(QStringLiteral("./workspace/train/"))
                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
}

void Mater::addButtonEntry(QTreeWidget *tree, const QString &iconPath, const QString &text)
{
    auto *entry = new QTreeWidgetItem(tree);
    entry->setIcon(0, QIcon(iconPath));
    entry->setText(0, text);
}

void Mater::loadXml(QTreeWidget *tree, const QString &fileName)
{
    // The learner's own lists do not exist before the first download or import; a
    // missing selections list is a damaged installation, worth a log line but not a
    // parse-error box at every start.
    if (!QFileInfo::exists(fileName)) {
        if (tree == ui->local)
            qWarning().noquote() << QStringLiteral("The selections list %1 is missing").arg(fileName);
        return;
    }
    QFile file(fileName);
    XmlParser parser(tree);
    parser.appendLog(QStringLiteral("Mater::loadXml() %1\n").arg(fileName));
    if (!parser.parseDevice(&file) && tree != ui->local)
        keepBrokenList(fileName);
}

// The next change of the tree rewrites the list from what could be read, so the
// unreadable original is kept aside for the learner (or support) to recover.
void Mater::keepBrokenList(const QString &fileName)
{
    const QString copy = firstFreeName(fileName + QStringLiteral(".broken"),
                                       [](const QString &name) { return QFileInfo::exists(name); });
    if (QFile::copy(fileName, copy))
        qWarning().noquote() << QStringLiteral("Kept the unreadable list %1 as %2").arg(fileName, copy);
}

void Mater::refreshStatus(QTreeWidget *tree, int mode)
{
    std::vector<QTreeWidgetItem *> pending{tree->invisibleRootItem()};
    std::vector<QTreeWidgetItem *> downloaded;
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        if (!isMaterial(item)) {
            for (int i = item->childCount() - 1; i >= 0; --i)
                pending.push_back(item->child(i));
            continue;
        }
        if (mode == 0) {
            const QString base = materialBaseName(item->text(2));
            if (m_audioNames.contains(base) && m_textNames.contains(base)
                && m_transNames.contains(base)) {
                if (item->parent())
                    downloaded.push_back(item);
            } else {
                item->setText(1, tr("_TEXT_DOWNLOAD_"));
            }
        } else {
            item->setText(1, tr("_TEXT_STUDY_"));
            if (m_trainDirs.contains(fileNameOf(item->text(3))))
                item->setText(2, tr("_TEXT_REVIEW_"));
        }
    }
    for (QTreeWidgetItem *item : downloaded)
        removeItem(item);
}

void Mater::on_local_itemClicked(QTreeWidgetItem *item, int column)
{
    if (column == 1 || column == 2)
        chooseMaterial(item, column);
}

void Mater::on_downs_itemClicked(QTreeWidgetItem *item, int column)
{
    if (column == 1 || column == 2)
        chooseMaterial(item, column);
}

void Mater::on_imports_itemClicked(QTreeWidgetItem *item, int column)
{
    if (isButtonEntry(item))
        showImporter();
    else if (column == 1 || column == 2)
        chooseMaterial(item, column);
}

bool Mater::isButtonEntry(const QTreeWidgetItem *item) const
{
    return item && !item->parent() && item->treeWidget()
           && item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) == 0
           && !item->data(0, Qt::UserRole).isValid()
           && (item->treeWidget() == ui->imports || item->treeWidget() == ui->online);
}

void Mater::chooseMaterial(QTreeWidgetItem *item, int column)
{
    if (!isMaterial(item))
        return;
    const QString audioName = fileNameOf(item->text(4));
    const QString key = fileNameOf(item->text(3));
    if (column == 1 && item->text(1) == tr("_TEXT_STUDY_")) {
        const QString path = audioPath(audioName);
        if (audioName.isEmpty() || isDamagedAudioSize(QFileInfo(path).size())) {
            dropDamagedMaterial(item);
            return;
        }
        emit switchSig(path);
        emit chooseDumpSig(trainFolder(key));
    } else if (column == 2 && item->text(2) == tr("_TEXT_REVIEW_")) {
        emit chooseSig(trainFolder(key));
        emit pathSig(audioPath(audioName));
        emit demoPathSig(demoFolder(key));
    }
}

void Mater::dropDamagedMaterial(QTreeWidgetItem *item)
{
    QTreeWidget *tree = item->treeWidget();
    forgetMaterial(fileNameOf(item->text(4)));
    removeItem(item);
    saveTreeOf(tree);
    QMessageBox::information(messageParent(), tr("提示"), tr("该材料音频文件已经被损坏请重新下载！"),
                             QMessageBox::Ok);
}

QWidget *Mater::messageParent()
{
    return parentWidget() ? parentWidget()->window() : this;
}

// Deletes the material's three files and drops it from the name lists, so that the
// online tab offers it for download again.
void Mater::forgetMaterial(const QString &audioName)
{
    if (audioName.isEmpty())
        return;
    const QString base = materialBaseName(audioName);
    QFile::remove(audioPath(audioName));
    QFile::remove(transcriptPath(base));
    QFile::remove(translationPath(base));
    m_audioNames.removeAll(base);
    m_textNames.removeAll(base);
    m_transNames.removeAll(base);
}

void Mater::removeItem(QTreeWidgetItem *item)
{
    if (item == m_contextItem)
        m_contextItem = nullptr;
    delete item; // detaches itself from its parent or tree
}

bool Mater::saveTreeOf(QTreeWidget *tree)
{
    if (tree == ui->downs)
        return saveTree(tree, customList, customFailText);
    if (tree == ui->imports)
        return saveTree(tree, importList, importFailText);
    return true; // the selections and the catalogue are never written
}

bool Mater::saveTree(QTreeWidget *tree, const QString &fileName, const QString &failText)
{
    QSaveFile file(fileName);
    XmlWriter writer(tree);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text) && writer.writeFile(&file)
        && file.commit())
        return true;
    qDebug().noquote() << failText << file.errorString();
    // Unsaved, the change is gone at the next start: the learner must know.
    QMessageBox::warning(messageParent(), tr("Library"),
        tr("The list %1 could not be saved: %2").arg(fileName, file.errorString()), QMessageBox::Ok);
    return false;
}

QTreeWidget *Mater::currentTree() const
{
    switch (ui->tabs->currentIndex()) {
    case 1:
        return ui->online;
    case 2:
        return ui->downs;
    case 3:
        return ui->imports;
    default:
        return ui->local;
    }
}

void Mater::contextMenuEvent(QContextMenuEvent *event)
{
    QTreeWidget *tree = currentTree();
    m_contextMenu->clear();
    const QPoint viewportPos = tree->viewport()->mapFrom(this, event->pos());
    m_contextItem =
        tree->viewport()->rect().contains(viewportPos) ? tree->itemAt(viewportPos) : nullptr;
    if (!m_contextItem)
        return;
    if (tree == ui->downs) {
        const bool material = isMaterial(m_contextItem);
        ui->actionClear->setEnabled(material);
        if (!material && m_contextItem->childCount() == 0)
            m_contextMenu->addAction(ui->actionRemove);
        m_contextMenu->addAction(ui->actionClear);
    } else if (tree == ui->imports) {
        if (isButtonEntry(m_contextItem))
            return;
        m_contextMenu->addAction(ui->actionRemove);
        m_contextMenu->addAction(ui->actionRename);
    } else {
        return; // the selections and the catalogue offer no commands
    }
    m_contextMenu->exec(event->globalPos());
    m_contextItem = nullptr;
}

// Clear and Remove delete a material's files, for an import the only copy: asked once,
// with the files named.
bool Mater::confirmDeletion(const QTreeWidgetItem *item)
{
    const QString audio = fileNameOf(item->text(4));
    const QString base = materialBaseName(audio);
    QStringList files;
    for (const QString &path : { audioPath(audio), transcriptPath(base), translationPath(base) }) {
        if (!audio.isEmpty() && QFileInfo(path).isFile())
            files << QDir::toNativeSeparators(path);
    }
    const QString question = files.isEmpty()
        ? tr("Remove “%1” from the list?").arg(item->text(0))
        : tr("Delete “%1”? These files will be deleted:\n%2\nYour recordings of it are kept.")
              .arg(item->text(0), files.join(QLatin1Char('\n')));
    // Buttons of our own, so that the whole question is in the learner's language.
    QMessageBox box(QMessageBox::Question, tr("Library"), question, QMessageBox::NoButton,
        messageParent());
    const QAbstractButton *remove = box.addButton(tr("Delete"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(tr("Keep"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == remove;
}

void Mater::on_actionClear_triggered()
{
    QTreeWidgetItem *item = m_contextItem;
    // The item may go while the question is open (a finished download rewrites the tab).
    if (!isMaterial(item) || !confirmDeletion(item) || item != m_contextItem)
        return;
    QTreeWidget *tree = m_contextItem->treeWidget();
    forgetMaterial(fileNameOf(m_contextItem->text(4)));
    removeItem(m_contextItem);
    saveTreeOf(tree);
}

void Mater::on_actionRemove_triggered()
{
    if (!m_contextItem)
        return;
    QTreeWidgetItem *item = m_contextItem;
    if (isMaterial(item) && (!confirmDeletion(item) || item != m_contextItem))
        return;
    QTreeWidget *tree = m_contextItem->treeWidget();
    if (isMaterial(m_contextItem)) {
        forgetMaterial(fileNameOf(m_contextItem->text(4)));
        removeItem(m_contextItem);
    } else if (m_contextItem->childCount() == 0 && !isButtonEntry(m_contextItem)) {
        removeItem(m_contextItem);
    }
    saveTreeOf(tree);
}

void Mater::on_actionRename_triggered()
{
    if (!m_contextItem)
        return;
    QTreeWidgetItem *item = m_contextItem;
    bool accepted = false;
    const QString name =
        QInputDialog::getText(this, tr("Input"), tr("Input the new name of this material/catagory."),
                              QLineEdit::Normal, QString(), &accepted);
    // A cancelled or empty answer keeps the old title rather than blanking it; what XML
    // cannot carry would make every later save of the list fail.
    const QString title = xmlSafe(name);
    if (!accepted || title.trimmed().isEmpty() || item != m_contextItem)
        return;
    item->setText(0, title);
    saveTreeOf(item->treeWidget());
}
