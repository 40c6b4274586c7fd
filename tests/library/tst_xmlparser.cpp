#include "xmlparser.h"

#include "listdump.h"
#include "modalcatcher.h"
#include "nofocusrectanglestyle.h"

#include <QBuffer>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {
const QString dots = QString(30, QChar(0x00B7));

QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

bool parse(QTreeWidget &tree, const QByteArray &document, const QString &log = QString())
{
    QBuffer buffer;
    buffer.setData(document);
    XmlParser parser(&tree);
    parser.appendLog(log);
    return parser.parseDevice(&buffer);
}

QStringList allTitles(QTreeWidget &tree)
{
    QStringList titles;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        titles << (*it)->text(0);
    return titles;
}

bool sameIcon(const QIcon &a, const QIcon &b)
{
    return !a.isNull() && a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

QByteArray repeated(const QByteArray &piece, int times)
{
    QByteArray result;
    for (int i = 0; i < times; ++i)
        result += QByteArray(piece).replace("#", QByteArray::number(i));
    return result;
}
} // namespace

class TestXmlParser : public QObject
{
    Q_OBJECT
private slots:
    void readsLibraryDialect();
    void readsOnlineDialectAfterExistingItems();
    void readsAcceptableDocuments_data();
    void readsAcceptableDocuments();
    void refusesBadDocuments_data();
    void refusesBadDocuments();
};

void TestXmlParser::readsLibraryDialect()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    ModalCatcher catcher;
    const bool parsed = parse(tree, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE vornask>
<vornask version="1.0">
    <train folded="no">
        <title>  Speeches </title>
        <case learned="lesson01.mp3" url="http://host/files/lesson01.mp3">
            <title>Lesson &amp; one</title>
        </case>
        <separator/>
        <train><title>Inner</title><case><title>bare</title></case></train>
    </train>
    <case learned="x.mp3"/>
</vornask>)");
    QVERIFY(parsed);
    QCOMPARE(catcher.boxTexts, QStringList());
    const QStringList expected {
        "train [  Speeches ] [] [] [] [] open",
        "  case [Lesson & one] [] [] [lesson01.mp3] [http://host/files/lesson01.mp3]",
        "  separator [" + dots + "] [] [] [] [] unselectable",
        "  train [Inner] [] [] [] [] closed",
        "    case [bare] [] [] [] []",
        "case [Unknown title] [] [] [x.mp3] []",
    };
    QCOMPARE(dumpTree(tree), expected);

    const NoFocusRectangleStyle style;
    QTreeWidgetItem *category = tree.topLevelItem(0);
    QVERIFY(sameIcon(category->icon(0), style.standardIcon(QStyle::SP_DirIcon)));
    QVERIFY(sameIcon(category->child(0)->icon(0), style.standardIcon(QStyle::SP_FileIcon)));
}

void TestXmlParser::readsOnlineDialectAfterExistingItems()
{
    QTreeWidget tree;
    tree.setColumnCount(5);
    new QTreeWidgetItem(&tree, QStringList { QStringLiteral("reload") });
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
    QCOMPARE(catcher.boxTexts, QStringList());
    const QStringList expected {
        " [reload] [] [] [] []",
        "channel [News] [] [] [] [] open",
        "  item [Item one] [] [http://h/a/one.mp3] [http://h/a/one.txt] [http://h/a/one@T.txt]",
        "  separator [" + dots + "] [] [] [] [] unselectable",
        "  item [Unknown title] [] [http://h/a/two.mp3] [] []",
    };
    QCOMPARE(dumpTree(tree), expected);
}

void TestXmlParser::readsAcceptableDocuments_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("lastTitle");
    QTest::newRow("vornask without version") << QByteArray("<vornask><case/></vornask>") << 1
                                             << "Unknown title";
    QTest::newRow("sps without version") << QByteArray("<sps><item><title>t</title></item></sps>")
                                         << 1 << "t";
    QTest::newRow("title under the root")
        << QByteArray("<vornask><title>x</title><case><title>a</title></case><title>b</title>"
                      "</vornask>")
        << 1 << "a";
    // Broken bytes neither crash nor drop the material: they show as replacement characters.
    QTest::newRow("invalid UTF-8")
        << QByteArray("<vornask><case><title>ab\xff\xfe\xc3(cd</title></case></vornask>") << 1
        << "ab\uFFFD\uFFFD\uFFFD(cd";
    const QByteArray material = "<case learned=\"m#.mp3\" url=\"http://example.org/materials/"
                                "m#.mp3\"><title>Material number #</title></case>\n";
    const QByteArray category = "<train><title>C</title>\n" + repeated(material, 100) + "</train>";
    QTest::newRow("10 MB") << "<vornask>" + repeated(category, 1000) + "</vornask>" << 101000
                           << "Material number 99";
    QTest::newRow("3000 nested categories")
        << "<vornask>" + repeated("<train folded=\"no\"><title>#</title>", 3000) + "<case/>"
            + repeated("</train>", 3000) + "<case><title>after</title></case></vornask>"
        << 3002 << "after";
}

void TestXmlParser::readsAcceptableDocuments()
{
    QFETCH(QByteArray, document);
    QFETCH(int, items);
    QFETCH(QString, lastTitle);
    QTreeWidget tree;
    ModalCatcher catcher;
    QVERIFY(parse(tree, document));
    QCOMPARE(catcher.boxTexts, QStringList());
    const QStringList titles = allTitles(tree);
    QCOMPARE(titles.size(), items);
    QCOMPARE(titles.last(), lastTitle);
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
    // Items before the error stay; the open material keeps its default title.
    QTest::newRow("tag mismatch in the middle")
        << QByteArray("<vornask>\n<train><title>T</title>\n<case><title>a</title></case>\n"
                      "<case><title>b</titl></case></train>\n<case/></vornask>")
        << "line 4, column 21" << "tag mismatch" << QStringList { "T", "a", "Unknown title" };
    QTest::newRow("empty") << QByteArray() << "line 1, column 1" << "unexpected end of file"
                           << QStringList();
    const QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE l [\n <!ENTITY a \""
        + QByteArray(90, 'a') + "\">\n <!ENTITY b \"" + QByteArray("&a;").repeated(30)
        + "\">\n <!ENTITY c \"" + QByteArray("&b;").repeated(30) + "\">\n <!ENTITY d \""
        + QByteArray("&c;").repeated(30) + "\">\n <!ENTITY e \"" + QByteArray("&d;").repeated(30)
        + "\">\n]>\n<vornask><case><title>&e;</title></case></vornask>";
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
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
    const bool parsed = parse(tree, document, QStringLiteral("Mater::loadXml() broken.xml\n"));
    qInstallMessageHandler(previous);

    QVERIFY(!parsed);
    QCOMPARE(catcher.boxTitles, QStringList { "vornask trains" });
    const QString text = catcher.boxTexts.value(0);
    QVERIFY2(text.startsWith("Parse error at " + position), qPrintable(text));
    QVERIFY2(text.contains(":\n") && text.contains(reason), qPrintable(text));
    QCOMPARE(allTitles(tree), titlesKept);
    // The running log goes out as one warning that carries the box's text.
    const QStringList logs = g_warnings.filter(QStringLiteral("Mater::loadXml()"));
    QCOMPARE(logs.size(), 1);
    QVERIFY(logs.first().startsWith(" Mater::loadXml() broken.xml\n  Parse error at line"));
    QVERIFY(logs.first().contains(text));
}

QTEST_MAIN(TestXmlParser)
#include "tst_xmlparser.moc"
