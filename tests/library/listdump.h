#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>

// One line per item, indented by depth: what the library stores and shows of an entry.
inline void dumpItem(const QTreeWidgetItem *item, int depth, QStringList &lines)
{
    QStringList fields{QString(depth * 2, QLatin1Char(' ')) + item->data(0, Qt::UserRole).toString()};
    for (int column = 0; column < 5; ++column)
        fields << QLatin1Char('[') + item->text(column) + QLatin1Char(']');
    if (item->childCount() > 0 || item->data(0, Qt::UserRole).toString() == QLatin1String("train"))
        fields << (item->isExpanded() ? QStringLiteral("open") : QStringLiteral("closed"));
    if (!(item->flags() & Qt::ItemIsSelectable))
        fields << QStringLiteral("unselectable");
    lines << fields.join(QLatin1Char(' '));
    for (int i = 0; i < item->childCount(); ++i)
        dumpItem(item->child(i), depth + 1, lines);
}

inline QStringList dumpTree(const QTreeWidget &tree)
{
    QStringList lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        dumpItem(tree.topLevelItem(i), 0, lines);
    return lines;
}
