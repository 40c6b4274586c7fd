#include "xmlparser.h"

#include "nofocusrectanglestyle.h"
#include "xmlwriter.h"

#include <QDebug>
#include <QIODevice>
#include <QMessageBox>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItem>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {
const QString separatorText = QString(30, QChar(0x00B7));
// The toolkit's reader goes one call deeper per open element, so a list nested tens of
// thousands deep would overflow the stack. Real lists are a handful of levels deep.
constexpr int maxDepth = 64;
} // namespace

XmlParser::XmlParser(QTreeWidget *tree) : treeWidget(tree)
{
    // The common style's icons, whatever style the application runs with.
    const NoFocusRectangleStyle style;
    m_dirIcon = style.standardIcon(QStyle::SP_DirIcon);
    m_fileIcon = style.standardIcon(QStyle::SP_FileIcon);
    // Looked up once: a catalogue has thousands of entries.
    m_categoryTitle = QObject::tr("Train");
    m_materialTitle = QObject::tr("Unknown title");
}

XmlParser::~XmlParser()
{
    attachPendingItem();
}

void XmlParser::appendLog(const QString &text)
{
    m_log += QLatin1Char(' ') + text + QLatin1Char(' ');
}

bool XmlParser::parseDevice(QIODevice *device)
{
    QXmlInputSource source(device);
    return parse(&source);
}

bool XmlParser::parseText(const QString &text)
{
    QXmlInputSource source;
    source.setData(text);
    return parse(&source);
}

bool XmlParser::parse(QXmlInputSource *source)
{
    QXmlSimpleReader reader;
    reader.setContentHandler(this);
    reader.setErrorHandler(this);
    const bool ok = reader.parse(source);
    attachPendingItem();
    return ok;
}

bool XmlParser::acceptRoot(const QString &version, const QString &expectedVersion)
{
    if (!version.isEmpty() && version != expectedVersion) {
        errorStr = QObject::tr("The file is not a vornask trains file.");
        return false;
    }
    metRootTag = true;
    return true;
}

bool XmlParser::startElement(const QString &, const QString &, const QString &qName,
                             const QXmlAttributes &attributes)
{
    if (!metRootTag && qName != QLatin1String("vornask") && qName != QLatin1String("sps")) {
        errorStr = QObject::tr("The file is not a vornask file.");
        return false;
    }
    if (++m_depth > maxDepth) {
        errorStr = QObject::tr("The list is nested more than %1 levels deep.").arg(maxDepth);
        return false;
    }
    if (qName == QLatin1String("vornask")) {
        if (!acceptRoot(attributes.value(QStringLiteral("version")), QStringLiteral("1.0")))
            return false;
    } else if (qName == QLatin1String("sps")) {
        if (!acceptRoot(attributes.value(QStringLiteral("version")), QStringLiteral("2.0")))
            return false;
    } else if (qName == QLatin1String("channel") || qName == QLatin1String("train")) {
        QTreeWidgetItem *item = createChildItem(qName);
        item->setText(0, m_categoryTitle);
        item->setIcon(0, m_dirIcon);
        if (attributes.value(QStringLiteral("folded")) == QLatin1String("no"))
            m_toExpand.append(item);
    } else if (qName == QLatin1String("item")) {
        QTreeWidgetItem *item = createChildItem(qName);
        item->setIcon(0, m_fileIcon);
        item->setText(0, m_materialTitle);
    } else if (qName == QLatin1String("case")) {
        QTreeWidgetItem *item = createChildItem(qName);
        item->setIcon(0, m_fileIcon);
        item->setText(0, m_materialTitle);
        item->setText(3, xmlSafe(attributes.value(QStringLiteral("learned"))));
        item->setText(4, xmlSafe(attributes.value(QStringLiteral("url"))));
    } else if (qName == QLatin1String("separator")) {
        QTreeWidgetItem *item = createChildItem(qName);
        item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
        item->setText(0, separatorText);
    }
    currentText.clear();
    return true;
}

QTreeWidgetItem *XmlParser::createChildItem(const QString &elementName)
{
    QTreeWidgetItem *item = currentItem ? new QTreeWidgetItem(currentItem) : new QTreeWidgetItem;
    if (!currentItem)
        m_pendingTop = item;
    item->setData(0, Qt::UserRole, elementName);
    currentItem = item;
    return item;
}

void XmlParser::attachPendingItem()
{
    if (!m_pendingTop)
        return;
    if (!treeWidget) {
        delete m_pendingTop;
        m_pendingTop = nullptr;
        return;
    }
    treeWidget->addTopLevelItem(m_pendingTop);
    m_pendingTop = nullptr;
    // Expansion is a state of the view, so it can only be set once the items are in it.
    for (QTreeWidgetItem *item : qAsConst(m_toExpand))
        item->setExpanded(true);
    m_toExpand.clear();
}

bool XmlParser::endElement(const QString &, const QString &, const QString &qName)
{
    --m_depth;
    // The reader lets character references such as "&#1;" through; what it lets in must
    // not stop the list from being saved later.
    if (qName == QLatin1String("title")) {
        if (currentItem)
            currentItem->setText(0, xmlSafe(currentText));
    } else if (qName == QLatin1String("audiourl") || qName == QLatin1String("description")
               || qName == QLatin1String("translation")) {
        const int column = qName == QLatin1String("audiourl")      ? 2
                           : qName == QLatin1String("description") ? 3
                                                                   : 4;
        if (currentItem)
            currentItem->setText(column, xmlSafe(currentText));
    } else if (qName == QLatin1String("train") || qName == QLatin1String("case")
               || qName == QLatin1String("separator") || qName == QLatin1String("channel")
               || qName == QLatin1String("item")) {
        if (currentItem)
            currentItem = currentItem->parent();
        if (!currentItem)
            attachPendingItem();
    }
    return true;
}

bool XmlParser::characters(const QString &text)
{
    currentText += text;
    return true;
}

bool XmlParser::fatalError(const QXmlParseException &exception)
{
    const QString message = QObject::tr("Parse error at line %1, column %2:\n%3")
                                .arg(exception.lineNumber())
                                .arg(exception.columnNumber())
                                .arg(exception.message());
    attachPendingItem(); // what was read before the error stays in the tree
    appendLog(message);
    qWarning().noquote() << m_log;
    QMessageBox::information(treeWidget ? treeWidget->window() : nullptr,
                             QObject::tr("vornask trains"), message, QMessageBox::Ok);
    return false;
}

QString XmlParser::errorString() const
{
    return errorStr;
}

QT_WARNING_POP
