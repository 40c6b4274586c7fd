#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QtGlobal>

// The toolkit's SAX reader is deprecated in Qt 5.15 but is what the list format is read with.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
#include <QXmlDefaultHandler>

class QIODevice;
class QTreeWidget;
class QTreeWidgetItem;

// Builds tree items from a material list ("vornask" library lists and "sps" online
// catalogues). Items are appended to what the tree already holds; on a fatal error the
// items read so far stay, the parse log goes to the warning log and the learner sees a box.
class XmlParser : public QXmlDefaultHandler
{
public:
    explicit XmlParser(QTreeWidget *tree);
    ~XmlParser() override;
    XmlParser(const XmlParser &) = delete;
    XmlParser &operator=(const XmlParser &) = delete;

    void appendLog(const QString &text);

    // Whole parses with this handler; false when the document was refused or malformed.
    bool parseDevice(QIODevice *device);
    bool parseText(const QString &text);

    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;
    bool characters(const QString &text) override;
    bool fatalError(const QXmlParseException &exception) override;
    QString errorString() const override;

private:
    bool parse(QXmlInputSource *source);
    bool acceptRoot(const QString &version, const QString &expectedVersion);
    QTreeWidgetItem *createChildItem(const QString &elementName);
    void attachPendingItem();

    QTreeWidget *treeWidget = nullptr;
    QTreeWidgetItem *currentItem = nullptr;
    QString currentText;
    QString errorStr;
    bool metRootTag = false;
    QString m_log;
    int m_depth = 0; // elements open at the moment
    // A top-level entry is built detached and handed to the tree when it is complete (or
    // when the parse fails), so the view is told once per entry instead of once per item.
    QTreeWidgetItem *m_pendingTop = nullptr;
    QList<QTreeWidgetItem *> m_toExpand;
    QIcon m_dirIcon;
    QIcon m_fileIcon;
    QString m_categoryTitle;
    QString m_materialTitle;
};

QT_WARNING_POP
