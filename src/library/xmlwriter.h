#pragma once

#include <QXmlStreamWriter>

class QIODevice;
class QTreeWidget;
class QTreeWidgetItem;

// Saves a library tree as a "vornask" list. Only categories ("train"), materials ("case")
// and separators are written; entries without that role data (the panel's own buttons,
// online channels and items) are left out together with their children.
class XmlWriter : public QXmlStreamWriter
{
public:
    explicit XmlWriter(QTreeWidget *tree);

    // False when the device refused the data, so callers can keep the previous file.
    bool writeFile(QIODevice *device);

private:
    void writeItem(const QTreeWidgetItem *item);

    QTreeWidget *treeWidget = nullptr;
};
