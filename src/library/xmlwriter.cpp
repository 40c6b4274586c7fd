#include "xmlwriter.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {
// Length of the valid character at i (2 for a surrogate pair), 0 when XML cannot carry it.
int xmlCharLength(const QString &text, int i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 0;
    if (c.unicode() >= 0x20)
        return c.unicode() < 0xFFFE && !c.isSurrogate() ? 1 : 0;
    return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ? 1 : 0;
}
} // namespace

QString xmlSafe(const QString &text)
{
    int i = 0;
    for (int length; i < text.size() && (length = xmlCharLength(text, i)) > 0;)
        i += length;
    if (i == text.size()) // the usual case, without a copy
        return text;
    QString safe = text.left(i);
    while (i < text.size()) {
        const int length = xmlCharLength(text, i);
        if (length > 0)
            safe += text.mid(i, length);
        else if (text.at(i).unicode() >= 0x20)
            safe += QChar::ReplacementCharacter;
        i += qMax(length, 1);
    }
    return safe;
}

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
        writeTextElement(QStringLiteral("title"), xmlSafe(item->text(0)));
        for (int i = 0; i < item->childCount(); ++i)
            writeItem(item->child(i));
        writeEndElement();
    } else if (role == QLatin1String("case")) {
        writeStartElement(QStringLiteral("case"));
        if (!item->text(3).isEmpty())
            writeAttribute(QStringLiteral("learned"), xmlSafe(item->text(3)));
        if (!item->text(4).isEmpty())
            writeAttribute(QStringLiteral("url"), xmlSafe(item->text(4)));
        writeTextElement(QStringLiteral("title"), xmlSafe(item->text(0)));
        writeEndElement();
    } else if (role == QLatin1String("separator")) {
        writeEmptyElement(QStringLiteral("separator"));
    }
}
