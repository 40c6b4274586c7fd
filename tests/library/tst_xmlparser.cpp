#include "xmlparser.h"

#include "listdump.h"
#include "modalcatcher.h"
#include "nofocusrectanglestyle.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {
const QString dots = QString(30, QChar(0x00B7));

QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

bool parse(QTreeWidget &tree, const QByteArray &document)
{
    QBuffer buffer;
    buffer.setData(document);
    XmlParser parser(&tree);
    return parser.parseDevice(&buffer);
}

bool sameIcon(const QIcon &a, const QIcon &b)
{
    return !a.isNull() && a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}
} // namespace

class TestXmlParser : public QObject
{
    Q_OBJECT
private slots:
    void readsLibraryDialect();
    void readsOnlineDialect();
    void appendsAfterExistingItems();
    void acceptsRootWithoutVersion_data();
    void acceptsRootWithoutVersion();
    void refusesBadDocuments_data();
    void refusesBadDocuments();
    void ignoresTitleUnderRoot();
    void replacesInvalidUtf8();
    void writesParseLogAsWarning();
    void readsTenMegabyteList();
    void readsDeeplyNestedCategories();
};

void TestXmlParser::readsLibraryDialect()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    ModalCatcher catcher;
    const bool ok = parse(tree, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE vornask>
<vornask version="1.0">
    <train folded="no">
        <title>  Speeches </title>
        <case learned="lesson01.mp3" url="http://host/files/lesson01.mp3">
            <title>Lesson &amp; one</title>
        </case>
        <separator/>
        <train>
            <title>Inner</title>
            <case><title>bare</title></case>
        </train>
        <train folded="maybe"><title>Odd</title></train>
    </train>
    <case learned="x.mp3"/>
</vornask>)");
    QVERIFY(ok);
    QVERIFY(catcher.boxTexts.isEmpty());
    const QStringList expected{
        "train [  Speeches ] [] [] [] [] open",
        "  case [Lesson & one] [] [] [lesson01.mp3] [http://host/files/lesson01.mp3]",
        "  separator [" + dots + "] [] [] [] [] unselectable",
        "  train [Inner] [] [] [] [] closed",
        "    case [bare] [] [] [] []",
        "  train [Odd] [] [] [] [] closed",
        "case [Unknown title] [] [] [x.mp3] []",
    };
    QCOMPARE(dumpTree(tree), expected);

    const NoFocusRectangleStyle style;
    QTreeWidgetItem *category = tree.topLevelItem(0);
    QVERIFY(sameIcon(category->icon(0), style.standardIcon(QStyle::SP_DirIcon)));
    QVERIFY(sameIcon(category->child(0)->icon(0), style.standardIcon(QStyle::SP_FileIcon)));
    QVERIFY(category->child(1)->icon(0).isNull());
}

void TestXmlParser::readsOnlineDialect()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    ModalCatcher catcher;
    QVERIFY(parse(tree, R"(<sps version="2.0">
<channel folded="no"><title>News</title>
  <item><title>Item one</title>
    <audiourl>http://h/a/one.mp3</audiourl>
    <description>http://h/a/one.txt</description>
    <translation>http://h/a/one@T.txt</translation>
  </item>
  <separator/>
  <item><audiourl>http://h/a/two.mp3</audiourl></item>
</channel>
</sps>)"));
    QVERIFY(catcher.boxTexts.isEmpty());
    const QStringList expected{
        "channel [News] [] [] [] [] open",
        "  item [Item one] [] [http://h/a/one.mp3] [http://h/a/one.txt] [http://h/a/one@T.txt]",
        "  separator [" + dots + "] [] [] [] [] unselectable",
        "  item [Unknown title] [] [http://h/a/two.mp3] [] []",
    };
    QCOMPARE(dumpTree(tree), expected);
}

void TestXmlParser::appendsAfterExistingItems()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    new QTreeWidgetItem(&tree, QStringList{QStringLiteral("reload")});
    ModalCatcher catcher;
    QVERIFY(parse(tree, "<sps><channel><title>A</title></channel><channel><title>B</title></channel></sps>"));
    QCOMPARE(tree.topLevelItemCount(), 3);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("reload"));
    QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("A"));
    QCOMPARE(tree.topLevelItem(2)->text(0), QStringLiteral("B"));
}

void TestXmlParser::acceptsRootWithoutVersion_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::newRow("vornask") << QByteArray("<vornask><case url=\"a.mp3\"><title>t</title></case></vornask>");
    QTest::newRow("sps") << QByteArray("<sps><item><title>t</title></item></sps>");
    QTest::newRow("vornask 1.0") << QByteArray("<vornask version=\"1.0\"><case><title>t</title></case></vornask>");
    QTest::newRow("sps 2.0") << QByteArray("<sps version=\"2.0\"><item><title>t</title></item></sps>");
}

void TestXmlParser::acceptsRootWithoutVersion()
{
    QFETCH(QByteArray, document);
    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, document));
    QVERIFY(catcher.boxTexts.isEmpty());
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("t"));
}

void TestXmlParser::refusesBadDocuments_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QStringList>("titlesKept");

    QTest::newRow("unknown root") << QByteArray("<html><case><title>x</title></case></html>")
                                  << "line 1, column 6" << "The file is not a vornask file."
                                  << QStringList();
    QTest::newRow("sps with library version")
        << QByteArray("<sps version=\"1.0\"><item><title>x</title></item></sps>")
        << "line 1, column 19" << "The file is not a vornask trains file." << QStringList();
    QTest::newRow("vornask with online version")
        << QByteArray("<vornask version=\"2.0\"/>") << "line 1" << "The file is not a vornask trains file."
        << QStringList();
    QTest::newRow("second root with wrong version")
        << QByteArray("<vornask>\n<case><title>a</title></case>\n<sps version=\"3\"/></vornask>")
        << "line 3" << "The file is not a vornask trains file." << QStringList{"a"};
    // Items before the error stay; the open material keeps its default title.
    QTest::newRow("tag mismatch in the middle")
        << QByteArray("<vornask>\n<train><title>T</title>\n<case><title>a</title></case>\n"
                      "<case><title>b</titl></case></train>\n<case><title>c</title></case></vornask>")
        << "line 4, column 21" << "tag mismatch" << QStringList{"T", "a", "Unknown title"};
    QTest::newRow("empty") << QByteArray() << "line 1, column 1" << "unexpected end of file"
                           << QStringList();
    QTest::newRow("truncated") << QByteArray("<vornask><case><title>a</title></case><ca")
                               << "line 1" << "" << QStringList{"a"};
    const QByteArray laughs = R"(<?xml version="1.0"?>
<!DOCTYPE l [
 <!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
 <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
 <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
 <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
 <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
]>
<vornask><case><title>&e;</title></case></vornask>)";
    QTest::newRow("entity expansion") << laughs << "line" << "too large" << QStringList();
}

void TestXmlParser::refusesBadDocuments()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, position);
    QFETCH(QString, reason);
    QFETCH(QStringList, titlesKept);

    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(!parse(tree, document));
    QCOMPARE(catcher.boxTexts.size(), 1);
    QCOMPARE(catcher.boxTitles.first(), QStringLiteral("vornask trains"));
    const QString text = catcher.boxTexts.first();
    QVERIFY2(text.startsWith("Parse error at " + position), qPrintable(text));
    QVERIFY2(text.contains(":\n") && text.contains(reason), qPrintable(text));

    QStringList titles;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        titles << (*it)->text(0);
    QCOMPARE(titles, titlesKept);
}

void TestXmlParser::ignoresTitleUnderRoot()
{
    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, "<vornask><title>stray</title><case><title>a</title></case><title>b</title></vornask>"));
    QVERIFY(catcher.boxTexts.isEmpty());
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("a"));
}

void TestXmlParser::replacesInvalidUtf8()
{
    // Broken bytes must neither crash nor drop the material: they show as replacement characters.
    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, "<vornask><case url=\"a\xff.mp3\"><title>ab\xff\xfe\xc3(cd</title></case></vornask>"));
    QVERIFY(catcher.boxTexts.isEmpty());
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("ab\uFFFD\uFFFD\uFFFD(cd"));
    QCOMPARE(tree.topLevelItem(0)->text(4), QStringLiteral("a\uFFFD.mp3"));
}

void TestXmlParser::writesParseLogAsWarning()
{
    QTreeWidget tree;
    ModalCatcher catcher;
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    QBuffer buffer;
    buffer.setData("<vornask>\n<case></vornask>");
    XmlParser parser(&tree);
    parser.appendLog(QStringLiteral("Mater::loadXml() broken.xml\n"));
    parser.parseDevice(&buffer);
    qInstallMessageHandler(previous);

    const QStringList logs = g_warnings.filter(QStringLiteral("Mater::loadXml()"));
    QCOMPARE(logs.size(), 1);
    const QString log = logs.first();
    QVERIFY2(log.startsWith(" Mater::loadXml() broken.xml\n  Parse error at line 2"), qPrintable(log));
    QVERIFY(log.contains(catcher.boxTexts.value(0)));
}

void TestXmlParser::readsTenMegabyteList()
{
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vornask version=\"1.0\">\n";
    int materials = 0;
    while (document.size() < 10 * 1024 * 1024) {
        document += "<train folded=\"yes\"><title>Category</title>\n";
        for (int i = 0; i < 100; ++i, ++materials)
            document += "<case learned=\"m" + QByteArray::number(materials) + ".mp3\" url=\"http://example.org/materials/m"
                        + QByteArray::number(materials) + ".mp3\"><title>Material number "
                        + QByteArray::number(materials) + "</title></case>\n";
        document += "</train>\n";
    }
    document += "</vornask>\n";

    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, document));
    QVERIFY(catcher.boxTexts.isEmpty());
    QCOMPARE(tree.topLevelItemCount(), materials / 100);
    const QTreeWidgetItem *last = tree.topLevelItem(tree.topLevelItemCount() - 1)->child(99);
    QCOMPARE(last->text(3), QStringLiteral("m%1.mp3").arg(materials - 1));
}

void TestXmlParser::readsDeeplyNestedCategories()
{
    const int depth = 3000;
    QByteArray document = "<vornask>";
    for (int i = 0; i < depth; ++i)
        document += "<train folded=\"no\"><title>" + QByteArray::number(i) + "</title>";
    document += "<case learned=\"deep.mp3\"><title>deep</title></case>";
    for (int i = 0; i < depth; ++i)
        document += "</train>";
    document += "<case><title>after</title></case></vornask>";

    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, document));
    QCOMPARE(tree.topLevelItemCount(), 2);
    QTreeWidgetItem *item = tree.topLevelItem(0);
    for (int i = 1; i < depth; ++i)
        item = item->child(0);
    QCOMPARE(item->text(0), QString::number(depth - 1));
    QCOMPARE(item->child(0)->text(3), QStringLiteral("deep.mp3"));
    QCOMPARE(tree.topLevelItem(1)->text(0), QStringLiteral("after"));
}

QTEST_MAIN(TestXmlParser)
#include "tst_xmlparser.moc"
