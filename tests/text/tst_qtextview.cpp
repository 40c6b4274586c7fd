// The transcript view and its text panel; each case fills the folder res/textview/Background.
#define QTEST_QPA_MOUSE_HANDLING
#include "editor.h"
#include "qtextview.h"

#include <QApplication>
#include <QSettings>
#include <QtTest>

class TestQTextView : public QObject
{
    Q_OBJECT
private slots:
    void background_data();
    void background();
    void panelDragsOnlyByItsEdge_data();
    void panelDragsOnlyByItsEdge();
};

void TestQTextView::background_data()
{
    QTest::addColumn<int>("pictures"); // red A.png, blue b.png; -1: no folder at all
    QTest::addColumn<QString>("steps"); // next, previous, cancelled colour choice, restyled
    QTest::addColumn<QColor>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("cancelled colour keeps the picture") << 2 << "nc" << QColor(Qt::blue) << "";
    // Polishing the panel (it has a style sheet) once put the first picture back.
    QTest::newRow("restyled") << 2 << "nr" << QColor(Qt::blue) << "";
    // The stored picture is decoded only when the view is first shown.
    QTest::newRow("stored picture at first show") << 2 << "r" << QColor(Qt::blue) << "b.png";
    // A folder emptied by hand: the stored colour, and the empty list never indexed.
    QTest::newRow("empty folder") << 0 << "np" << QColor(7, 8, 9) << "";
    QTest::newRow("no folder, stored picture") << -1 << "np" << QColor(7, 8, 9) << "A.png";
}

void TestQTextView::background()
{
    QFETCH(int, pictures);
    QFETCH(QString, steps);
    QFETCH(QString, stored);
    const QString folder = QCoreApplication::applicationDirPath() + "/res/textview/Background/";
    QDir(folder).removeRecursively();
    QVERIFY(pictures < 0 || QDir().mkpath(folder));
    for (int i = 0; i < pictures; ++i) {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(i == 0 ? Qt::red : Qt::blue);
        QVERIFY(image.save(folder + (i == 0 ? "A.png" : "b.png")));
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "TextView", "TextView");
    settings.clear();
    settings.setValue("Options/m_backgroundColor", QColor(7, 8, 9));
    if (!stored.isEmpty())
        settings.setValue("Options/m_background", stored);
    QTextView view(nullptr);
    view.resize(320, 380);
    for (const QChar step : steps) {
        if (step == 'n' || step == 'p') {
            step == 'n' ? view.nextBackground() : view.previousBackground();
        } else if (step == 'c') {
            QTimer::singleShot(0, &view, [] { QApplication::activeModalWidget()->close(); });
            view.colorBackground();
        } else {
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            view.setStyleSheet(QStringLiteral("QLabel { color: gray; }"));
        }
    }
    QTEST(QColor(view.grab().toImage().pixel(200, 370)), "shown"); // below the text frame
}

void TestQTextView::panelDragsOnlyByItsEdge_data()
{
    QTest::addColumn<QPoint>("press"); // the frame is 300 x 350 at (5, 5)
    QTest::addColumn<bool>("drags");
    QTest::newRow("top edge") << QPoint(100, 5) << true;
    // The text area covers the right and bottom edges; they drag all the same.
    QTest::newRow("right edge") << QPoint(304, 100) << true;
    QTest::newRow("bottom edge") << QPoint(100, 354) << true;
    QTest::newRow("one pixel inside") << QPoint(100, 6) << false;
}

// The size-all cursor marks the edge, and a repaint keeps it.
void TestQTextView::panelDragsOnlyByItsEdge()
{
    QFETCH(QPoint, press);
    QFETCH(bool, drags);
    QTextView view(nullptr);
    view.setGeometry(100, 100, 400, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    Editor *panel = view.editor();
    QTest::mouseMove(panel, press);
    panel->repaint();
    QCOMPARE(panel->cursor().shape(), drags ? Qt::SizeAllCursor : Qt::ArrowCursor);
    const QPoint delta(-12, 25);
    QTest::mousePress(panel, Qt::LeftButton, {}, press);
    QTest::mouseMove(panel, press + delta);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, press + delta);
    QCOMPARE(panel->frameRect(), QRect(5, 5, 300, 350).translated(drags ? delta : QPoint()));
}

QTEST_MAIN(TestQTextView)
#include "tst_qtextview.moc"
