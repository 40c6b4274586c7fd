// Skinned windows on the test display; mouse input goes through the window system, as clicks do.
#define QTEST_QPA_MOUSE_HANDLING
#include "qskinobject.h"

#include <QPointer>
#include <QScreen>
#include <QtTest>

// The close button's centre in the shipped skin; test windows are 400 x 300 at (200, 150).
static const QPoint kClose(400 - 12 - 13, 16);

class TestQSkinObject : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { qDeleteAll(m_windows); }
    void damagedSettingsKeepTheWindowVisible();
    void mouse_data();
    void mouse();
    void iconChangeReachesTheScreen();
    void skinAndWindowGoInEitherOrder();

private:
    QSkinObject *skin(QWidget *window, int buttonSet, const QString &ini = "skin/skin.ini");

    QList<QPointer<QWidget>> m_windows;
};

// Skins the window as the trainer does; the build copies the shipped skin beside the program.
QSkinObject *TestQSkinObject::skin(QWidget *window, int buttonSet, const QString &ini)
{
    m_windows.append(window);
    auto *skin = new QSkinObject(window, buttonSet);
    skin->setSkinFile(ini);
    window->setGeometry(200, 150, 400, 300);
    skin->startSkinning();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("window not exposed");
    return skin;
}

// damaged.ini holds a non-numeric "Alpha" and a colour that does not parse.
void TestQSkinObject::damagedSettingsKeepTheWindowVisible()
{
    QSkinObject *damaged = skin(new QWidget, 1, "skin/damaged.ini");
    QCOMPARE(damaged->alphaValue(), 1.0);
    QCOMPARE(damaged->titleColorValue(), QColor(255, 100, 0));
}

void TestQSkinObject::mouse_data()
{
    QTest::addColumn<int>("buttonSet");
    QTest::addColumn<QLine>("drag"); // pressed at one end, released at the other
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QRect>("geometry");
    const QRect kept(200, 150, 400, 300);
    QTest::newRow("close closes the main window") << 1 << QLine(kClose, kClose) << "closed" << kept;
    QTest::newRow("close hides the library") << 4 << QLine(kClose, kClose) << "hidden" << kept;
    QTest::newRow("title") << 1 << QLine(120, 16, 180, 61) << "" << kept.translated(60, 45);
    QTest::newRow("right") << 1 << QLine(399, 150, 439, 180) << "" << kept + QMargins(0, 0, 40, 0);
    // Never narrower than the side frames and 128 pixels; the right edge stays put.
    QTest::newRow("left") << 1 << QLine(1, 150, 391, 150) << "" << kept - QMargins(260, 0, 0, 0);
}

void TestQSkinObject::mouse()
{
    QFETCH(int, buttonSet);
    QFETCH(QLine, drag);
    QFETCH(QString, outcome);
    QFETCH(QRect, geometry);
    QPointer<QWidget> window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    skin(window, buttonSet);
    const QPoint end = window->mapToGlobal(drag.p2()); // the window may move under the mouse
    QTest::mousePress(window, Qt::LeftButton, {}, drag.p1());
    QTest::mouseMove(window, drag.p2());
    QTest::mouseRelease(window, Qt::LeftButton, {}, window->mapFromGlobal(end));
    QTRY_COMPARE(window.isNull(), outcome == "closed");
    if (window) {
        QCOMPARE(window->isHidden(), outcome == "hidden");
        QTRY_COMPARE(window->geometry(), geometry);
    }
}

// The title bar is the skin's to draw, so an icon or title set later must reach the screen.
void TestQSkinObject::iconChangeReachesTheScreen()
{
    auto *window = new QWidget;
    skin(window, 1);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    window->setWindowIcon(QIcon(icon));
    QScreen *screen = QGuiApplication::primaryScreen();
    QTRY_COMPARE(screen->grabWindow(window->winId()).toImage().pixelColor(36, 16), QColor(Qt::red));
}

// The library (a tool window) deletes its skin object first; the main window leaves it to go.
void TestQSkinObject::skinAndWindowGoInEitherOrder()
{
    auto *window = new QWidget(nullptr, Qt::Tool);
    delete skin(window, 4);
    QCOMPARE(window->windowType(), Qt::Tool);
    QTest::mouseClick(window, Qt::LeftButton, {}, kClose); // no skin left to act on it
    QVERIFY(window->isVisible());
    QPointer<QSkinObject> unowned = skin(new QWidget, 1);
    delete m_windows.last();
    QTRY_VERIFY(unowned.isNull());
}

QTEST_MAIN(TestQSkinObject)
#include "tst_qskinobject.moc"
