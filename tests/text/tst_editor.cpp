// The transcript text panel: markup removal, the text area's look and place, the veil,
// the outline and dragging the frame with real mouse input on a real window.
#define QTEST_QPA_MOUSE_HANDLING
#include "editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGridLayout>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

const QRect kFrame(20, 30, 200, 150);

QColor pixelAt(QWidget *widget, const QPoint &pos)
{
    return QColor(widget->grab().toImage().pixel(pos));
}

// Pixels of the text colour on the frame's top edge, where the dashed outline runs.
int outlinePixels(QWidget *widget, const QRect &frame, const QColor &color)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int x = frame.left(); x <= frame.right(); ++x)
        count += QColor(image.pixel(x, frame.top())) == color;
    return count;
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stripMarkup_data();
    void stripMarkup();
    void frameEdge_data();
    void frameEdge();
    void styleSheet();

    void openShowsPlainText();
    void openMissingFileKeepsText();
    void textAreaIsReadOnlyAndTransparent();
    void resizeRectKeepsCorner();
    void veilOpacity_data();
    void veilOpacity();
    void outlineFollowsMouseAndText();
    void cursorFollowsState();
    void pressStartsDragOnlyOnEdge_data();
    void pressStartsDragOnlyOnEdge();
    void rightClickShowsNoMenu();
    void typingChangesNothing();

private:
    Editor *makeEditor(double opacity, const QColor &text = Qt::green);
    QString writeFile(const QByteArray &content);

    QTemporaryDir m_dir;
    Editor *m_editor = nullptr;
    int m_files = 0;
};

void TestEditor::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "needs the X display of scripts/test-env.sh");
}

void TestEditor::init()
{
    m_editor = makeEditor(0.0);
}

void TestEditor::cleanup()
{
    delete m_editor->window();
    m_editor = nullptr;
}

// As the transcript view holds it: filling a window through a layout, with a background
// painted behind it.
Editor *TestEditor::makeEditor(double opacity, const QColor &text)
{
    auto *editor = new Editor(kFrame.x(), kFrame.y(), kFrame.width(), kFrame.height(), text, 14,
                              QFont(QStringLiteral("Verdana")), opacity);
    QPalette palette;
    palette.setBrush(QPalette::Window, QColor(Qt::red));
    editor->setPalette(palette);
    editor->setAutoFillBackground(true);
    auto *host = new QWidget;
    auto *layout = new QGridLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor, 0, 0, 1, 1);
    host->setGeometry(100, 100, 400, 300);
    host->show();
    if (!QTest::qWaitForWindowExposed(host))
        qWarning("editor window not exposed");
    return editor;
}

QString TestEditor::writeFile(const QByteArray &content)
{
    QFile file(m_dir.filePath(QStringLiteral("text%1.txt").arg(++m_files)));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return file.fileName();
}

void TestEditor::stripMarkup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("entity and tag") << "a&lt;b<br>c" << "abc";
    QTest::newRow("all leftovers") << "<div>1</div><p>2</p>3<br>4</br>5&nbsp;6&lt;7&gt;8<br />9"
                                   << "123456789";
    QTest::newRow("upper case stays") << "a<BR>b&LT;c" << "a<BR>b&LT;c";
    QTest::newRow("other tags stay") << "<b>bold</b> &amp;" << "<b>bold</b> &amp;";
    // One pass per leftover, in a fixed order: what a later removal joins together is
    // removed only if its own pass comes later.
    QTest::newRow("joined by an earlier pass") << "&l&nbsp;t;" << "";
    QTest::newRow("joined by a later pass") << "&n&lt;bsp;" << "&nbsp;";
    QTest::newRow("self-closing break built from plain break") << "<br /<br>>" << "";
    QTest::newRow("chinese text kept") << QStringLiteral("你好<br>世界") << QStringLiteral("你好世界");
}

void TestEditor::stripMarkup()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(stripTranscriptMarkup(text), shown);
}

void TestEditor::frameEdge_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("edge");
    // Frame (20, 30) 200 x 150: edges at x 20 and 219, y 30 and 179.
    QTest::newRow("top edge") << QPoint(100, 30) << true;
    QTest::newRow("left edge") << QPoint(20, 100) << true;
    QTest::newRow("right edge") << QPoint(219, 100) << true;
    QTest::newRow("bottom edge") << QPoint(100, 179) << true;
    QTest::newRow("corner") << QPoint(20, 30) << true;
    QTest::newRow("one pixel inside") << QPoint(21, 31) << false;
    QTest::newRow("strictly inside") << QPoint(100, 100) << false;
    QTest::newRow("just outside left") << QPoint(19, 100) << false;
    QTest::newRow("just outside right") << QPoint(220, 100) << false;
    QTest::newRow("just below") << QPoint(100, 180) << false;
}

void TestEditor::frameEdge()
{
    QFETCH(QPoint, pos);
    QFETCH(bool, edge);
    QCOMPARE(onFrameEdge(kFrame, pos), edge);
}

void TestEditor::styleSheet()
{
    const QFont font(QStringLiteral("Verdana"));
    const QString sheet = editorStyleSheet(QColor(0x12, 0xab, 0xef), font, 17);
    QVERIFY(sheet.startsWith(QStringLiteral("QTextEdit {font-family: \"") + font.toString()
                             + QStringLiteral("\";font-size: 17px;color:#12abef;}QScrollBar:vertical {")));
    QCOMPARE(sheet.count(QStringLiteral("#12abef")), 7);
    QVERIFY(sheet.contains(QStringLiteral("QScrollBar::handle:vertical {border: 1px solid#12abef;"
                                          "background: transparent;min-height: 20px;}")));
    QVERIFY(sheet.contains(QStringLiteral("QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:"
                                          "vertical {border: 2px solid#12abef;width: 3px;height: 3px;"
                                          "background:#12abef;}")));
    QVERIFY(sheet.endsWith(QStringLiteral("QScrollBar::add-page:horizontal, QScrollBar::sub-page:"
                                          "horizontal {background: none;}")));
    QCOMPARE(m_editor->textArea()->styleSheet(),
             editorStyleSheet(Qt::green, QFont(QStringLiteral("Verdana")), 14));
    QCOMPARE(m_editor->styleSheet(), QStringLiteral("QPushButton{border:0px;}"));
    // The sheet must take effect: 15 pixel scroll bars.
    m_editor->textArea()->setPlainText(QString(QStringLiteral("line\n")).repeated(200));
    QTRY_VERIFY(m_editor->textArea()->verticalScrollBar()->isVisible());
    QCOMPARE(m_editor->textArea()->verticalScrollBar()->width(), 15);
}

void TestEditor::openShowsPlainText()
{
    m_editor->open(writeFile("a&lt;b<br>c"));
    QCOMPARE(m_editor->textArea()->toPlainText(), QStringLiteral("abc"));
    // Shown as plain text, never as HTML.
    m_editor->open(writeFile("<b>x</b>&amp;\n\xe4\xbd\xa0\xe5\xa5\xbd"));
    QCOMPARE(m_editor->textArea()->toPlainText(), QStringLiteral("<b>x</b>&amp;\n你好"));
}

void TestEditor::openMissingFileKeepsText()
{
    m_editor->open(writeFile("kept"));
    m_editor->open(m_dir.filePath(QStringLiteral("missing.txt")));
    m_editor->open(m_dir.path()); // a folder cannot be read as text either
    QCOMPARE(m_editor->textArea()->toPlainText(), QStringLiteral("kept"));
}

void TestEditor::textAreaIsReadOnlyAndTransparent()
{
    QTextEdit *text = m_editor->textArea();
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->frameShape(), QFrame::NoFrame);
    QCOMPARE(text->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(text->tabStopDistance(), 20.0);
    QCOMPARE(text->geometry(), QRect(21, 31, 199, 149));
}

void TestEditor::resizeRectKeepsCorner()
{
    m_editor->resizeRect(300, 200);
    QCOMPARE(m_editor->frameRect(), QRect(20, 30, 300, 200));
    QCOMPARE(m_editor->textArea()->geometry(), QRect(21, 31, 299, 199));
}

void TestEditor::veilOpacity_data()
{
    QTest::addColumn<double>("opacity");
    QTest::addColumn<QColor>("inside");
    QTest::newRow("no veil") << 0.0 << QColor(Qt::red);
    QTest::newRow("full veil") << 1.0 << QColor(Qt::white);
}

void TestEditor::veilOpacity()
{
    QFETCH(double, opacity);
    QFETCH(QColor, inside);
    delete m_editor->window();
    m_editor = makeEditor(opacity);
    m_editor->open(writeFile("some text"));
    // Inside the frame (under the transparent text area, away from the text) and outside it.
    QCOMPARE(pixelAt(m_editor, kFrame.bottomRight() - QPoint(20, 20)), inside);
    QCOMPARE(pixelAt(m_editor, QPoint(5, 5)), QColor(Qt::red));
    QCOMPARE(pixelAt(m_editor, kFrame.bottomRight() + QPoint(10, 10)), QColor(Qt::red));
}

void TestEditor::outlineFollowsMouseAndText()
{
    QVERIFY(m_editor->isFrameHidden());
    QCOMPARE(outlinePixels(m_editor, kFrame, Qt::green), 0);
    QTest::mouseMove(m_editor, QPoint(300, 250));
    QTRY_VERIFY(!m_editor->isFrameHidden());
    const int dashes = outlinePixels(m_editor, kFrame, Qt::green);
    // Dashed: much of the edge drawn, not all of it.
    QVERIFY2(dashes > kFrame.width() / 4 && dashes < kFrame.width(), qPrintable(QString::number(dashes)));
    m_editor->open(writeFile("new text"));
    QVERIFY(m_editor->isFrameHidden());
    QCOMPARE(outlinePixels(m_editor, kFrame, Qt::green), 0);
}

void TestEditor::cursorFollowsState()
{
    QTRY_COMPARE(m_editor->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(m_editor, QPoint(100, kFrame.top()));
    QTRY_COMPARE(m_editor->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(m_editor, QPoint(5, 5));
    QTRY_COMPARE(m_editor->cursor().shape(), Qt::ArrowCursor);
    m_editor->open(writeFile("text"));
    QTRY_COMPARE(m_editor->cursor().shape(), Qt::BlankCursor);
}

void TestEditor::pressStartsDragOnlyOnEdge_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("drags");
    QTest::newRow("top edge") << QPoint(100, kFrame.top()) << true;
    QTest::newRow("left edge") << QPoint(kFrame.left(), 100) << true;
    QTest::newRow("top left corner") << kFrame.topLeft() << true;
    QTest::newRow("right edge, under the text area") << QPoint(kFrame.right(), 100) << true;
    QTest::newRow("bottom edge, under the text area") << QPoint(100, kFrame.bottom()) << true;
    QTest::newRow("strictly inside") << QPoint(100, 100) << false;
    QTest::newRow("one pixel inside the top edge") << QPoint(100, kFrame.top() + 1) << false;
    QTest::newRow("outside") << QPoint(300, 250) << false;
    QTest::newRow("just outside the left edge") << QPoint(kFrame.left() - 1, 100) << false;
}

void TestEditor::pressStartsDragOnlyOnEdge()
{
    QFETCH(QPoint, press);
    QFETCH(bool, drags);
    const QPoint delta(-12, 25);
    QTest::mousePress(m_editor, Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(m_editor->isDragging(), drags);
    QTest::mouseMove(m_editor, press + delta / 2);
    QTest::mouseMove(m_editor, press + delta);
    QTest::mouseRelease(m_editor, Qt::LeftButton, Qt::NoModifier, press + delta);
    QVERIFY(!m_editor->isDragging());
    const QRect expected = drags ? kFrame.translated(delta) : kFrame;
    QCOMPARE(m_editor->frameRect(), expected);
    QCOMPARE(m_editor->textArea()->geometry(),
             QRect(expected.x() + 1, expected.y() + 1, expected.width() - 1, expected.height() - 1));
    // Moves after the release leave the frame where it is.
    QTest::mouseMove(m_editor, QPoint(350, 280));
    QCOMPARE(m_editor->frameRect(), expected);
}

void TestEditor::rightClickShowsNoMenu()
{
    m_editor->open(writeFile("right click here"));
    QTextEdit *text = m_editor->textArea();
    QSignalSpy requested(text, &QWidget::customContextMenuRequested);
    QTest::mouseClick(text->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTRY_COMPARE(requested.count(), 1);
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());
}

void TestEditor::typingChangesNothing()
{
    m_editor->open(writeFile("fixed"));
    QTextEdit *text = m_editor->textArea();
    text->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClicks(text, QStringLiteral("typed"));
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_Delete);
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), QStringLiteral("fixed"));
    QVERIFY(m_editor->isFrameHidden());
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
