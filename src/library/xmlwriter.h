#pragma once

#include <QXmlStreamWriter>

class QIODevice;
class QString;
class QTreeWidget;
class QTreeWidgetItem;

// text without what an XML 1.0 document cannot carry, so that a title from a catalogue, an
// import or a rename can always be saved and read back: control characters other than tab and
// line breaks are dropped, unpaired surrogates and U+FFFE/U+FFFF become U+FFFD.
QString xmlSafe(const QString &text);

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
