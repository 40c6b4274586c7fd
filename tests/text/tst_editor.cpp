// The transcript text panel on a real X display, with real mouse and key input.
#define QTEST_QPA_MOUSE_HANDLING
#include "editor.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

const QRect kFrame(20, 30, 200, 150);

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_editor = makeEditor(0.0); }
    void cleanup() { delete m_editor->window(); }
    void stripMarkup_data();
    void stripMarkup();
    void openAndResize();
    void veilOpacity();
    void pressStartsDragOnlyOnEdge_data();
    void pressStartsDragOnlyOnEdge();
    void staysReadOnly();

private:
    Editor *makeEditor(double opacity);
    QString writeFile(const QByteArray &content);

    QTemporaryDir m_dir;
    Editor *m_editor = nullptr;
};

// Held as the transcript view holds it: filling a window through a layout, over a red
// background; the text is green.
Editor *TestEditor::makeEditor(double opacity)
{
    auto *editor = new Editor(kFrame.x(), kFrame.y(), kFrame.width(), kFrame.height(), Qt::green,
        14, QFont(QStringLiteral("Verdana")), opacity);
    QPalette palette;
    palette.setBrush(QPalette::Window, QColor(Qt::red));
    editor->setPalette(palette);
    editor->setAutoFillBackground(true);
    auto *host = new QWidget;
    auto *layout = new QGridLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor, 0, 0);
    host->setGeometry(100, 100, 400, 300);
    host->show();
    if (!QTest::qWaitForWindowExposed(host))
        qWarning("window not exposed");
    return editor;
}

QString TestEditor::writeFile(const QByteArray &content)
{
    QFile file(m_dir.filePath(QStringLiteral("text.txt")));
    return file.open(QIODevice::WriteOnly) && file.write(content) >= 0 ? file.fileName()
                                                                       : QString();
}

void TestEditor::stripMarkup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("all of them, case-sensitive")
        << "<div>1</div><p>2</p>3<br>4</br>5&nbsp;6&lt;7&gt;8<br />9<BR>&amp;"
        << "123456789<BR>&amp;";
    // One pass per string in a fixed order: what a removal joins is removed only if its
    // own pass comes later.
    QTest::newRow("joined before its pass") << "&l&nbsp;t;"
                                            << "";
    QTest::newRow("joined after its pass") << "&n&lt;bsp;"
                                           << "&nbsp;";
}

void TestEditor::stripMarkup()
{
    QFETCH(QString, text);
    QTEST(stripTranscriptMarkup(text), "shown");
}

void TestEditor::openAndResize()
{
    m_editor->open(writeFile("a&lt;b<br>c\n<b>\xe4\xbd\xa0</b>")); // UTF-8, never HTML
    QCOMPARE(m_editor->textArea()->toPlainText(), QStringLiteral("abc\n<b>你</b>"));
    // What cannot be read leaves the text alone.
    m_editor->open(m_dir.filePath(QStringLiteral("missing.txt")));
    m_editor->open(m_dir.path());
    QCOMPARE(m_editor->textArea()->toPlainText(), QStringLiteral("abc\n<b>你</b>"));
    m_editor->resizeRect(300, 200);
    QCOMPARE(m_editor->frameRect(), QRect(20, 30, 300, 200));
    QCOMPARE(m_editor->textArea()->geometry(), QRect(21, 31, 299, 199));
}

void TestEditor::veilOpacity()
{
    for (const double opacity : { 0.0, 1.0 }) {
        delete m_editor->window();
        m_editor = makeEditor(opacity);
        m_editor->open(writeFile("text"));
        const QImage image = m_editor->grab().toImage();
        // Under the transparent text area, away from the text; and outside the frame.
        QCOMPARE(QColor(image.pixel(kFrame.bottomRight() - QPoint(20, 20))),
            opacity == 0.0 ? QColor(Qt::red) : QColor(Qt::white));
        QCOMPARE(QColor(image.pixel(kFrame.bottomRight() + QPoint(10, 10))), QColor(Qt::red));
    }
}

void TestEditor::pressStartsDragOnlyOnEdge_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("drags");
    QTest::newRow("top edge") << QPoint(100, kFrame.top()) << true;
    // The text area covers the right and bottom edges; they drag all the same.
    QTest::newRow("right edge") << QPoint(kFrame.right(), 100) << true;
    QTest::newRow("bottom edge") << QPoint(100, kFrame.bottom()) << true;
    QTest::newRow("one pixel inside the edge") << QPoint(100, kFrame.top() + 1) << false;
    QTest::newRow("just outside") << QPoint(kFrame.left() - 1, 100) << false;
}

void TestEditor::pressStartsDragOnlyOnEdge()
{
    QFETCH(QPoint, press);
    QFETCH(bool, drags);
    const QPoint delta(-12, 25);
    QTest::mousePress(m_editor, Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(m_editor->isDragging(), drags);
    QTest::mouseMove(m_editor, press + delta);
    QTest::mouseRelease(m_editor, Qt::LeftButton, Qt::NoModifier, press + delta);
    QTest::mouseMove(m_editor, QPoint(350, 280)); // after the release the frame stays
    const QRect expected = drags ? kFrame.translated(delta) : kFrame;
    QCOMPARE(m_editor->frameRect(), expected);
    QCOMPARE(m_editor->textArea()->geometry(), expected.adjusted(1, 1, 0, 0));
}

// No context menu, and neither keys nor paste change the text.
void TestEditor::staysReadOnly()
{
    QSignalSpy requested(m_editor->textArea(), &QWidget::customContextMenuRequested);
    QTest::mouseClick(
        m_editor->textArea()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTRY_COMPARE(requested.count(), 1); // the click arrived
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());

    m_editor->open(writeFile("fixed"));
    QTextEdit *text = m_editor->textArea();
    text->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClicks(text, QStringLiteral("typed\t"));
    for (int key : { Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return })
        QTest::keyClick(text, Qt::Key(key));
    for (int key : { Qt::Key_V, Qt::Key_X })
        QTest::keyClick(text, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), QStringLiteral("fixed"));
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
