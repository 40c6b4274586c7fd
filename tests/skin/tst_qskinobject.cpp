// Skinned windows on a real X display (the test environment's Xvfb). Mouse input goes
// through the window system layer, as real clicks do.
#define QTEST_QPA_MOUSE_HANDLING
#include "qskinobject.h"
#include "qskinwidgetresizehandler.h"
#include "testpaths.h"

#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// Frame of data/install/skin/skin.svg; test windows are 400 x 300.
constexpr int kLeft = 6, kTop = 32, kRight = 6, kBottom = 8, kTopRight = 12;
constexpr int kButtonWidth = 26, kButtonHeight = 18;
const QPoint kClose(400 - kTopRight - kButtonWidth / 2, kTop / 2);
const QPoint kMinimize(400 - kTopRight - 5 * kButtonWidth + kButtonWidth / 2, kTop / 2);

QString relativeToProgram(const QString &absolute)
{
    return QDir(QCoreApplication::applicationDirPath()).relativeFilePath(absolute);
}

QColor pixelAt(QWidget *window, const QPoint &pos)
{
    return QColor(window->grab().toImage().pixel(pos));
}

QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestQSkinObject : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void buttonAreas_data();
    void buttonAreas();
    void installedSkins_data();
    void installedSkins();
    void badSettingsGiveDefaults();
    void windowIsFramelessAndShaped();
    void titleAndIconAreDrawn();
    void hoverAndPressChangeButton();
    void closeButton_data();
    void closeButton();
    void clicksOutsideButtonsDoNothing_data();
    void clicksOutsideButtonsDoNothing();
    void minimizeButton();
    void dragMovesWindow();
    void edgeDragResizes_data();
    void edgeDragResizes();
    void skinAndWindowGoInEitherOrder();
    void screenshot();

private:
    QString writeSkin(const QString &iniBody, const QString &svg = QString());
    QWidget *makeWindow(int buttonSet, const QString &ini = QString());
    void drag(QWidget *window, const QPoint &from, const QPoint &delta);

    QTemporaryDir m_dir;
    QString m_installed;
    QList<QPointer<QWidget>> m_windows;
    int m_skins = 0;
};

void TestQSkinObject::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); // scripts/test-env.sh
    m_installed = TestPaths::sourceDir() + QStringLiteral("/data/install/");
}

void TestQSkinObject::cleanup()
{
    qDeleteAll(m_windows);
    m_windows.clear();
}

// An INI file whose "$SVG" is replaced by a copy of a shipped skin beside it; returns
// its path relative to the program's folder, as windows give it.
QString TestQSkinObject::writeSkin(const QString &iniBody, const QString &svg)
{
    const QString base = m_dir.filePath(QString::number(++m_skins));
    QDir().mkpath(base);
    QFile::copy(m_installed + (svg.isEmpty() ? QStringLiteral("skin/skin.svg") : svg),
        base + QStringLiteral("/window.svg"));
    QFile ini(base + QStringLiteral("/window.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return QString();
    ini.write(QString(iniBody)
                  .replace(QStringLiteral("$SVG"),
                      relativeToProgram(base + QStringLiteral("/window.svg")))
                  .toUtf8());
    return relativeToProgram(ini.fileName());
}

QWidget *TestQSkinObject::makeWindow(int buttonSet, const QString &ini)
{
    auto *window = new QWidget;
    m_windows.append(window);
    window->setGeometry(200, 150, 400, 300);
    auto *skin = new QSkinObject(window, buttonSet);
    skin->setSkinFile(ini.isEmpty() ? writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")) : ini);
    skin->startSkinning();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("window not exposed");
    return window;
}

// Positions are kept global since the window moves under the mouse.
void TestQSkinObject::drag(QWidget *window, const QPoint &from, const QPoint &delta)
{
    const QPoint start = window->mapToGlobal(from);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, window->mapFromGlobal(start + delta * step / 4));
    QTest::mouseRelease(
        window, Qt::LeftButton, Qt::NoModifier, window->mapFromGlobal(start + delta));
}

void TestQSkinObject::buttonAreas_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QRect>("close");
    QTest::addColumn<QRect>("maximize");
    QTest::addColumn<QRect>("minimize");
    const QRect close(362, 7, 26, 18), maximize(310, 7, 26, 18), minimize(258, 7, 26, 18);
    QTest::newRow("0: all three") << 0 << close << maximize << minimize;
    QTest::newRow("3: none") << 3 << QRect() << QRect() << QRect();
    QTest::newRow("4: close") << 4 << close << QRect() << QRect();
    QTest::newRow("high bits ignored") << 9 << close << QRect() << minimize;
}

void TestQSkinObject::buttonAreas()
{
    QFETCH(int, set);
    QFETCH(QRect, close);
    QFETCH(QRect, maximize);
    QFETCH(QRect, minimize);
    const SkinButtonAreas areas = skinButtonAreas(set, 400, QSize(26, 18), 32, 12);
    QCOMPARE(areas.close.boundingRect(), close);
    QCOMPARE(areas.maximize.boundingRect(), maximize);
    QCOMPARE(areas.minimize.boundingRect(), minimize);
}

void TestQSkinObject::installedSkins_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("svg");
    QTest::addColumn<int>("top");
    QTest::newRow("main window") << "skin/skin.ini"
                                 << "skin/skin.svg" << 32;
    QTest::newRow("importer") << "skin/exporter.ini"
                              << "skin/exporter.svg" << 28;
}

// The shipped settings must survive the INI syntax ("#" colours, fonts with commas) and
// the SVGs must define every piece.
void TestQSkinObject::installedSkins()
{
    QFETCH(QString, ini);
    QFETCH(QString, svg);
    QFETCH(int, top);
    const QString body = readFile(m_installed + ini);
    QVERIFY(body.contains(QStringLiteral("Skinpfad=") + svg));
    QWidget window;
    QSkinObject skin(&window, 4);
    skin.setSkinFile(writeSkin(QString(body).replace(svg, QStringLiteral("$SVG")), svg));
    skin.startSkinning();
    QCOMPARE(skin.titleColorValue(), QColor(QStringLiteral("#d8dee9"))); // not the default
    QCOMPARE(window.contentsMargins(), QMargins(kLeft, top, kRight, kBottom));
    for (const char *button : { "minimize", "maximize", "close" })
        for (const char *state : { "normal", "hover", "pressed" })
            QCOMPARE(skin.elementSize(QStringLiteral("%1_button_%2").arg(button, state)),
                QSize(kButtonWidth, kButtonHeight));
}

void TestQSkinObject::badSettingsGiveDefaults()
{
    QWidget window;
    QSkinObject skin(&window, 1);
    skin.setSkinFile(writeSkin(
        QStringLiteral("[Skin]\nAlpha=half\nTitelfarbe=nocolour\nHintergrundfarbe=zz\n")));
    skin.startSkinning();
    QCOMPARE(skin.alphaValue(), 1.0); // not an invisible window
    QCOMPARE(skin.titleColorValue(), QColor(255, 100, 0));
    QCOMPARE(skin.backgroundColorValue(), QColor(Qt::black));
    QCOMPARE(skin.titleFontValue().family(), QStringLiteral("Arial"));
    // No SVG (the INI itself is no skin): no frame, still frameless and movable.
    QCOMPARE(window.contentsMargins(), QMargins());
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.minimumSize(), QSize(128, 0));
    const QPoint before = window.pos();
    drag(&window, QPoint(60, 40), QPoint(30, 20));
    QTRY_COMPARE(window.pos(), before + QPoint(30, 20));
}

void TestQSkinObject::windowIsFramelessAndShaped()
{
    QWidget *window = makeWindow(1);
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QTRY_VERIFY(!window->mask().isEmpty());
    const QRegion mask = window->mask();
    for (const QPoint &hole : { QPoint(1, 1), QPoint(399, 0), QPoint(0, 299), QPoint(399, 299) })
        QVERIFY(!mask.contains(hole));
    for (const QPoint &kept : { QPoint(200, 0), QPoint(0, 150), QPoint(399, 150), QPoint(12, 12) })
        QVERIFY(mask.contains(kept));
}

void TestQSkinObject::titleAndIconAreDrawn()
{
    QWidget *window = makeWindow(1,
        writeSkin(QStringLiteral(
            "[Skin]\nSkinpfad=$SVG\nTitelfarbe=#00ff00\nHintergrundfarbe=000080\n")));
    QPixmap icon(32, 32);
    icon.fill(Qt::red);
    window->setWindowIcon(QIcon(icon));
    window->setWindowTitle(QStringLiteral("WWWWWWWW"));
    // What the screen shows: title and icon set after skinning must be painted too.
    const auto onScreen = [window] {
        return QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
    };
    const auto titlePixels = [](const QImage &image) {
        int count = 0;
        for (int x = 2 * kLeft + 36; x < 2 * kLeft + 136; ++x)
            for (int y = 0; y < kTop; ++y)
                count += qGreen(image.pixel(x, y)) > 150 && qRed(image.pixel(x, y)) < 100;
        return count;
    };
    const int drawn = titlePixels(window->grab().toImage());
    QVERIFY(drawn > 20);
    QTRY_COMPARE(titlePixels(onScreen()), drawn); // the X server shows it a little later
    QTRY_COMPARE(
        QColor(onScreen().pixel(2 * kLeft + 16 + 8, kTop / 2)), QColor(Qt::red)); // 16 x 16
    QImage image = onScreen();
    QCOMPARE(QColor(image.pixel(200, 150)), QColor(0, 0, 0x80));

    // An icon text "WxH" draws the icon at that size further left.
    window->setWindowIconText(QStringLiteral("24x20"));
    const QRect icon24(2 * kLeft + 10, (kTop - 20) / 2, 24, 20);
    QTRY_COMPARE(QColor(onScreen().pixel(icon24.topLeft())), QColor(Qt::red));
    image = onScreen();
    QCOMPARE(QColor(image.pixel(icon24.bottomRight())), QColor(Qt::red));
    QVERIFY(QColor(image.pixel(icon24.bottomRight() + QPoint(1, 1))) != QColor(Qt::red));
}

void TestQSkinObject::hoverAndPressChangeButton()
{
    QWidget *window = makeWindow(1);
    const QPoint plate(400 - kTopRight - kButtonWidth + 2, (kTop - kButtonHeight) / 2 + 9);
    const QColor normal = pixelAt(window, plate);
    QTest::mouseMove(window, kClose);
    QCOMPARE(pixelAt(window, plate), QColor(0xb0, 0x41, 0x3e));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, kClose);
    QCOMPARE(pixelAt(window, plate), QColor(0x8a, 0x2f, 0x2d));
    // Leaving the button before letting go does nothing and ends the hover look.
    QTest::mouseMove(window, QPoint(200, 150));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QVERIFY(window->isVisible());
    QCOMPARE(pixelAt(window, plate), normal);
}

void TestQSkinObject::closeButton_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<bool>("closes");
    QTest::newRow("set 1 closes") << 1 << true;
    QTest::newRow("set 4 hides") << 4 << false;
}

void TestQSkinObject::closeButton()
{
    QFETCH(int, set);
    QFETCH(bool, closes);
    QPointer<QWidget> window = makeWindow(set);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, kClose);
    QVERIFY(!window || !window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(window.isNull(), closes);
}

void TestQSkinObject::clicksOutsideButtonsDoNothing_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QPoint>("pos");
    QTest::newRow("top 6 pixels of close") << 1 << QPoint(kClose.x(), 6);
    QTest::newRow("between buttons") << 1 << QPoint(kClose.x() - 30, kTop / 2);
    QTest::newRow("set 4 has no minimize") << 4 << kMinimize;
    QTest::newRow("set 3 has no close") << 3 << kClose;
}

void TestQSkinObject::clicksOutsideButtonsDoNothing()
{
    QFETCH(int, set);
    QFETCH(QPoint, pos);
    QWidget *window = makeWindow(set);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    QCoreApplication::processEvents();
    QVERIFY(window->isVisible());
    QVERIFY(!window->isMinimized());
}

void TestQSkinObject::minimizeButton()
{
    QWidget *window = makeWindow(1);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, kMinimize);
    QTRY_VERIFY(window->isMinimized());
}

void TestQSkinObject::dragMovesWindow()
{
    QWidget *window = makeWindow(1);
    QSignalSpy activated(
        window->findChild<QSkinWidgetResizeHandler *>(), &QSkinWidgetResizeHandler::activate);
    const QRect before = window->geometry();
    drag(window, QPoint(120, kTop / 2), QPoint(60, 45));
    QTRY_COMPARE(window->geometry(), before.translated(60, 45));
    QCOMPARE(activated.count(), 1);
}

void TestQSkinObject::edgeDragResizes_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected"); // window placed at (200, 150), 400 x 300
    QTest::newRow("right edge") << QPoint(399, 150) << QPoint(40, 30) << QRect(200, 150, 440, 300);
    QTest::newRow("bottom edge") << QPoint(200, 299) << QPoint(15, 25) << QRect(200, 150, 400, 325);
    QTest::newRow("left edge") << QPoint(1, 150) << QPoint(-30, 10) << QRect(170, 150, 430, 300);
    QTest::newRow("top edge") << QPoint(200, 2) << QPoint(0, 20) << QRect(200, 170, 400, 280);
    QTest::newRow("corner") << QPoint(398, 298) << QPoint(35, 45) << QRect(200, 150, 435, 345);
    // Never narrower than left + right frame + 128; the opposite edge stays put.
    QTest::newRow("right edge to minimum")
        << QPoint(399, 150) << QPoint(-350, 0) << QRect(200, 150, 140, 300);
    QTest::newRow("left edge to minimum")
        << QPoint(1, 150) << QPoint(390, 0) << QRect(460, 150, 140, 300);
}

void TestQSkinObject::edgeDragResizes()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QWidget *window = makeWindow(1);
    QCOMPARE(window->minimumWidth(), kLeft + kRight + 128);
    drag(window, from, delta);
    QTRY_COMPARE(window->geometry(), expected);
}

// Windows hold their skin object either as an owned member (deleted before the window and
// its children) or not at all (it then goes with the window).
void TestQSkinObject::skinAndWindowGoInEitherOrder()
{
    auto *window = new QWidget;
    m_windows.append(window);
    window->setGeometry(200, 150, 400, 300);
    auto owned = std::make_unique<QSkinObject>(window, 4);
    owned->setSkinFile(writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    owned->startSkinning();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    owned.reset();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, kClose); // no skin left to act
    QVERIFY(window->isVisible());
    QVERIFY(!window->grab().isNull());

    auto *unowned = new QWidget;
    QPointer<QSkinObject> skin = new QSkinObject(unowned, 1);
    skin->startSkinning();
    delete unowned;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(skin.isNull());
}

// Set ZORVA_SCREENSHOT_DIR to write skinned-window.png there.
void TestQSkinObject::screenshot()
{
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR not set");
    auto *desk = new QWidget; // a light desk behind makes the cut corners visible
    m_windows.append(desk);
    desk->setWindowFlags(Qt::FramelessWindowHint);
    desk->setStyleSheet(QStringLiteral("background: #8c96a3;"));
    desk->setGeometry(180, 130, 440, 340);
    desk->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk));
    QWidget *window = makeWindow(1,
        writeSkin(readFile(m_installed + QStringLiteral("skin/skin.ini"))
                      .replace(QStringLiteral("skin/skin.svg"), QStringLiteral("$SVG"))));
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(3, 3, 10, 10, QColor(0x3f, 0xb6, 0xc6));
    window->setWindowIcon(QIcon(icon));
    window->setWindowTitle(QStringLiteral("ZORVA"));
    QTest::mouseMove(window, kClose);
    QTest::qWait(200); // let the X server draw what the window has painted
    const QRect area = desk->geometry();
    QVERIFY(QGuiApplication::primaryScreen()
                ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                .save(folder + QStringLiteral("/skinned-window.png")));
}

QTEST_MAIN(TestQSkinObject)
#include "tst_qskinobject.moc"
