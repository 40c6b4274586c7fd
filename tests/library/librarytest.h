#pragma once

// Shared by the library tests: each case runs in a working directory of its own with real
// files and drives the library window through real clicks.
#include "mater.h"
#include "materialpaths.h"
#include "modalcatcher.h"

#include <QHeaderView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

inline QString mater(const char *key)
{
    return QCoreApplication::translate("Mater", key);
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &title)
{
    return tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

// Titles of an entry's children, or of the top level for null.
inline QStringList titles(QTreeWidget *tree, QTreeWidgetItem *parent = nullptr)
{
    QStringList result;
    for (int i = 0; i < (parent ? parent : tree->invisibleRootItem())->childCount(); ++i)
        result << (parent ? parent : tree->invisibleRootItem())->child(i)->text(0);
    return result;
}

inline QString caseOf(const QString &title, const QString &key, const QString &url)
{
    return QStringLiteral("<case learned=\"%1\" url=\"%2\"><title>%3</title></case>")
        .arg(key, url, title);
}

// A list file with one open category holding the given <case> elements.
inline QByteArray listOf(const QString &category, const QStringList &cases)
{
    return QStringLiteral("<vornask><train folded=\"no\"><title>%1</title>%2</train></vornask>")
        .arg(category, cases.join(""))
        .toUtf8();
}

inline std::unique_ptr<Mater> openPanel()
{
    auto panel = std::make_unique<Mater>(nullptr);
    panel->resize(321, 600);
    panel->show();
    if (!QTest::qWaitForWindowExposed(panel.get()))
        qWarning("library window not exposed");
    return panel;
}

// The named tree, with its tab brought to the front as the learner would.
inline QTreeWidget *showTree(Mater *panel, const char *name)
{
    auto *tree = panel->findChild<QTreeWidget *>(QString::fromLatin1(name));
    panel->findChild<QTabWidget *>("tabs")->setCurrentWidget(tree->parentWidget());
    return tree;
}

inline QPoint cellCenter(QTreeWidget *tree, QTreeWidgetItem *item, int column)
{
    tree->scrollToItem(item);
    const int x = tree->header()->sectionViewportPosition(column);
    return { x + tree->header()->sectionSize(column) / 2, tree->visualItemRect(item).center().y() };
}

inline void clickCell(QTreeWidget *tree, QTreeWidgetItem *item, int column)
{
    QVERIFY(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cellCenter(tree, item, column));
}

// A fresh working directory with the workspace folders and an empty selections list.
class WorkingDir
{
public:
    WorkingDir()
    {
        QDir::setCurrent(m_dir.path());
        QDir().mkpath("workspace/train");
        writeBytes("weblist.xml", "<vornask version=\"1.0\"/>");
    }
    ~WorkingDir() { QDir::setCurrent(m_previous); }

private:
    QString m_previous = QDir::currentPath();
    QTemporaryDir m_dir;
};
