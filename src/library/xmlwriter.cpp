#include "xmlwriter.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

XmlWriter::XmlWriter(QTreeWidget *tree) : treeWidget(tree)
{
    setAutoFormatting(true);
}

bool XmlWriter::writeFile(QIODevice *device)
{
    setDevice(device);
    writeStartDocument();
    writeDTD(QStringLiteral("<!DOCTYPE vornask>"));
    writeStartElement(QStringLiteral("vornask"));
    writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    for (int i = 0; i < treeWidget->topLevelItemCount(); ++i)
        writeItem(treeWidget->topLevelItem(i));
    writeEndDocument();
    return !hasError();
}

void XmlWriter::writeItem(const QTreeWidgetItem *item)
{
    const QString role = item->data(0, Qt::UserRole).toString();
    if (role == QLatin1String("train")) {
        writeStartElement(QStringLiteral("train"));
        writeAttribute(QStringLiteral("folded"),
                       item->isExpanded() ? QStringLiteral("no") : QStringLiteral("yes"));
        writeTextElement(QStringLiteral("title"), item->text(0));
        for (int i = 0; i < item->childCount(); ++i)
            writeItem(item->child(i));
        writeEndElement();
    } else if (role == QLatin1String("case")) {
        writeStartElement(QStringLiteral("case"));
        if (!item->text(3).isEmpty())
            writeAttribute(QStringLiteral("learned"), item->text(3));
        if (!item->text(4).isEmpty())
            writeAttribute(QStringLiteral("url"), item->text(4));
        writeTextElement(QStringLiteral("title"), item->text(0));
        writeEndElement();
    } else if (role == QLatin1String("separator")) {
        writeEmptyElement(QStringLiteral("separator"));
    }
}
