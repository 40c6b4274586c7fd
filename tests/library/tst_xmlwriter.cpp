#include "xmlwriter.h"

#include "listdump.h"
#include "modalcatcher.h"
#include "xmlparser.h"

#include <QBuffer>
#include <QTest>

namespace {
QTreeWidgetItem *addEntry(QTreeWidget &tree, QTreeWidgetItem *parent, const QString &role,
    const QStringList &columns)
{
    auto *item = parent ? new QTreeWidgetItem(parent, columns) : new QTreeWidgetItem(&tree, columns);
    if (!role.isEmpty())
        item->setData(0, Qt::UserRole, role);
    return item;
}

QByteArray write(QTreeWidget &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return XmlWriter(&tree).writeFile(&buffer) ? buffer.data() : QByteArray("failed");
}

void read(QTreeWidget &tree, const QByteArray &document)
{
    QBuffer buffer;
    buffer.setData(document);
    XmlParser(&tree).parseDevice(&buffer);
}
} // namespace

class TestXmlWriter : public QObject
{
    Q_OBJECT
private slots:
    void writesOneCategoryExactly();
    void roundTripKeepsTheTree();
    void skipsEntriesThatAreNoLibraryData();
    void reportsDeviceThatRefusesData();
};

void TestXmlWriter::writesOneCategoryExactly()
{
    QTreeWidget tree;
    QTreeWidgetItem *category = addEntry(tree, nullptr, "train", { "Speeches" });
    addEntry(tree, category, "case",
        { "Lesson one", "Study", "", "lesson01.mp3", "http://h/m/lesson01.mp3" });
    category->setExpanded(true);
    QCOMPARE(write(tree),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!DOCTYPE vornask>\n"
                   "<vornask version=\"1.0\">\n"
                   "    <train folded=\"no\">\n"
                   "        <title>Speeches</title>\n"
                   "        <case learned=\"lesson01.mp3\" url=\"http://h/m/lesson01.mp3\">\n"
                   "            <title>Lesson one</title>\n"
                   "        </case>\n"
                   "    </train>\n"
                   "</vornask>\n"));
}

void TestXmlWriter::roundTripKeepsTheTree()
{
    const QByteArray original = R"(<vornask version="1.0">
<train folded="no"><title>  padded title  </title>
  <case learned="a.mp3" url="http://h/a.mp3"><title> A &amp; &lt;B&gt; "q" </title></case>
  <separator/>
  <train><title>collapsed</title>
    <case url="only-url.mp3"><title>u</title></case>
    <case learned="only-key.mp3"><title>k</title></case>
    <case><title>neither</title></case>
    <train folded="no"><title>open inside closed</title><separator/></train>
  </train>
  <train folded="no"><title>open but empty</title></train>
</train>
<separator/>
<case learned="中文.mp3" url="中文.mp3"><title>中文材料</title></case>
</vornask>)";
    QTreeWidget first;
    ModalCatcher catcher;
    read(first, original);
    const QByteArray written = write(first);
    QTreeWidget second;
    read(second, written);
    QCOMPARE(catcher.boxTexts, QStringList());
    QCOMPARE(dumpTree(second), dumpTree(first));
    QCOMPARE(second.topLevelItem(0)->text(0), QStringLiteral("  padded title  "));
    QCOMPARE(second.topLevelItem(0)->child(0)->text(0), QStringLiteral(" A & <B> \"q\" "));
    // Folded state is kept even where the view cannot show it; attributes only when set.
    for (const char *part : { "<train folded=\"no\">\n            <title>open but empty</title>",
             "<train folded=\"yes\">\n            <title>collapsed</title>",
             "<train folded=\"no\">\n                <title>open inside closed</title>",
             "<case url=\"only-url.mp3\">", "<case learned=\"only-key.mp3\">",
             "<case>\n                <title>neither</title>" })
        QVERIFY2(written.contains(part), part);
    // A written list is a fixed point: saving it again changes nothing.
    QCOMPARE(write(second), written);
}

void TestXmlWriter::skipsEntriesThatAreNoLibraryData()
{
    QTreeWidget tree;
    addEntry(tree, nullptr, "", { "Import" });
    QTreeWidgetItem *channel = addEntry(tree, nullptr, "channel", { "Online" });
    addEntry(tree, channel, "item", { "x", "", "http://h/x.mp3" });
    QTreeWidgetItem *category = addEntry(tree, nullptr, "train", { "Kept" });
    QTreeWidgetItem *material = addEntry(tree, category, "case", { "m", "", "", "m.mp3", "m.mp3" });
    addEntry(tree, material, "case", { "child of a material" });
    addEntry(tree, category, "item", { "online item in a category", "", "http://h/y.mp3" });

    const QByteArray written = write(tree);
    for (const char *absent : { "Import", "channel", "Online", "item", "child of a material" })
        QVERIFY2(!written.contains(absent), absent);
    QCOMPARE(written.count("<case"), 1);
    QVERIFY(written.contains("<title>Kept</title>"));
}

void TestXmlWriter::reportsDeviceThatRefusesData()
{
    // A list that could not be written must not be reported as saved.
    QTreeWidget tree;
    addEntry(tree, nullptr, "case", { "t", "", "", "k.mp3", "u.mp3" });
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QVERIFY(!XmlWriter(&tree).writeFile(&readOnly));
}

QTEST_MAIN(TestXmlWriter)
#include "tst_xmlwriter.moc"
