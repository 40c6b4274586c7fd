// Skinned windows: settings, button layout, drawing, shape, title-bar buttons, moving
// and resizing. Runs on a real X display (the test environment's Xvfb); mouse input goes
// through the window system layer, as real clicks do.
#define QTEST_QPA_MOUSE_HANDLING
#include "qskinobject.h"
#include "qskinwidgetresizehandler.h"

#include "testpaths.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Frame of data/install/skin/skin.svg.
constexpr int kLeft = 6;
constexpr int kTop = 32;
constexpr int kRight = 6;
constexpr int kBottom = 8;
constexpr int kTopRight = 12;
constexpr int kButtonWidth = 26;
constexpr int kButtonHeight = 18;

QString relativeToProgram(const QString &absolute)
{
    return QDir(QCoreApplication::applicationDirPath()).relativeFilePath(absolute);
}

QColor pixelAt(const QImage &image, const QPoint &pos)
{
    return QColor::fromRgba(image.pixel(pos));
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
    void iconSizeFromText_data();
    void iconSizeFromText();
    void buttonBand_data();
    void buttonBand();
    void frameSide_data();
    void frameSide();
    void resized_data();
    void resized();
    void grabRange_data();
    void grabRange();

    void installedSkinsLoad_data();
    void installedSkinsLoad();
    void missingSettingsGiveDefaults();
    void damagedValuesFallBack();

    void windowIsFramelessAndShaped();
    void titleAndIconAreDrawn();
    void iconTextSetsIconSize();
    void hoverAndPressChangeButton();
    void closeButton_data();
    void closeButton();
    void releaseOutsideButtonsDoesNothing_data();
    void releaseOutsideButtonsDoesNothing();
    void minimizeButton();
    void dragMovesWindow();
    void edgeDragResizes_data();
    void edgeDragResizes();
    void resizeStopsAtMinimumWidth();
    void alphaFromSettings();
    void screenshot();

private:
    QString writeSkin(const QString &iniBody);
    QWidget *makeWindow(int buttonSet, const QString &iniRelative, const QSize &size = {400, 300});
    void drag(QWidget *window, const QPoint &from, const QPoint &delta);

    QTemporaryDir m_dir;
    QString m_installedSvg;
    QList<QPointer<QWidget>> m_windows;
    int m_skinCount = 0;
};

void TestQSkinObject::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "needs the X display of scripts/test-env.sh");
    m_installedSvg = TestPaths::sourceDir() + QStringLiteral("/data/install/skin/skin.svg");
    QVERIFY(QFile::exists(m_installedSvg));
}

void TestQSkinObject::cleanup()
{
    for (const QPointer<QWidget> &window : qAsConst(m_windows))
        delete window.data();
    m_windows.clear();
}

// Writes an INI file (with the installed SVG beside it unless the body names another)
// and returns its path relative to the program's folder.
QString TestQSkinObject::writeSkin(const QString &iniBody)
{
    const QString base = m_dir.filePath(QStringLiteral("skin%1").arg(++m_skinCount));
    QDir().mkpath(base);
    QFile::copy(m_installedSvg, base + QStringLiteral("/window.svg"));
    QFile ini(base + QStringLiteral("/window.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Text))
        return QString();
    QString body = iniBody;
    body.replace(QStringLiteral("$SVG"), relativeToProgram(base + QStringLiteral("/window.svg")));
    ini.write(body.toUtf8());
    return relativeToProgram(ini.fileName());
}

QWidget *TestQSkinObject::makeWindow(int buttonSet, const QString &iniRelative, const QSize &size)
{
    auto *window = new QWidget;
    m_windows.append(window);
    window->resize(size);
    window->move(200, 150);
    auto *skin = new QSkinObject(window, buttonSet);
    skin->setObjectName(QStringLiteral("skin"));
    skin->setSkinFile(iniRelative);
    skin->startSkinning();
    return window;
}

void TestQSkinObject::drag(QWidget *window, const QPoint &from, const QPoint &delta)
{
    const QPoint startGlobal = window->mapToGlobal(from);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    // Several steps, as a hand would; positions are global since the window moves.
    for (int step = 1; step <= 4; ++step) {
        const QPoint target = startGlobal + delta * step / 4;
        QTest::mouseMove(window, window->mapFromGlobal(target));
    }
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier,
                        window->mapFromGlobal(startGlobal + delta));
}

void TestQSkinObject::buttonAreas_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QRect>("close");
    QTest::addColumn<QRect>("maximize");
    QTest::addColumn<QRect>("minimize");
    // Window 400 wide, buttons 26 x 18, title 32 high, right title corner 12 wide.
    const QRect close(362, 7, 26, 18);
    const QRect maximize(310, 7, 26, 18);
    const QRect minimize(258, 7, 26, 18);
    QTest::newRow("0: all three") << 0 << close << maximize << minimize;
    QTest::newRow("1: minimize and close") << 1 << close << QRect() << minimize;
    QTest::newRow("2: close") << 2 << close << QRect() << QRect();
    QTest::newRow("3: none") << 3 << QRect() << QRect() << QRect();
    QTest::newRow("4: close, hiding") << 4 << close << QRect() << QRect();
    QTest::newRow("high bits ignored") << (8 | 1) << close << QRect() << minimize;
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

void TestQSkinObject::iconSizeFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("size");
    QTest::newRow("24x20") << "24x20" << QSize(24, 20);
    QTest::newRow("plain words") << "Player" << QSize();
    QTest::newRow("empty") << "" << QSize();
    QTest::newRow("capital X") << "24X20" << QSize();
    QTest::newRow("trailing text") << "24x20px" << QSize();
    QTest::newRow("zero width") << "0x20" << QSize();
    QTest::newRow("negative") << "-4x20" << QSize();
}

void TestQSkinObject::iconSizeFromText()
{
    QFETCH(QString, text);
    QFETCH(QSize, size);
    QCOMPARE(::iconSizeFromText(text), size);
}

void TestQSkinObject::buttonBand_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("inside");
    // Window 400 wide, title 32, close button 18 high: 6 < y < 52 and x < 395.
    QTest::newRow("in the button") << QPoint(370, 15) << true;
    QTest::newRow("top 6 pixels") << QPoint(370, 6) << false;
    QTest::newRow("just below the top strip") << QPoint(370, 7) << true;
    QTest::newRow("lower limit") << QPoint(370, 52) << false;
    QTest::newRow("right 5 pixels") << QPoint(395, 15) << false;
}

void TestQSkinObject::buttonBand()
{
    QFETCH(QPoint, pos);
    QFETCH(bool, inside);
    QCOMPARE(insideButtonBand(pos, 400, 32, 18), inside);
}

void TestQSkinObject::frameSide_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("side");
    // 200 x 100 window, range 3.
    QTest::newRow("centre") << QPoint(100, 50) << int(FrameSide::Centre);
    QTest::newRow("left") << QPoint(2, 50) << int(FrameSide::Left);
    QTest::newRow("just inside left") << QPoint(3, 50) << int(FrameSide::Centre);
    QTest::newRow("right") << QPoint(197, 50) << int(FrameSide::Right);
    QTest::newRow("top") << QPoint(100, 0) << int(FrameSide::Top);
    QTest::newRow("bottom") << QPoint(100, 99) << int(FrameSide::Bottom);
    QTest::newRow("top left") << QPoint(1, 1) << int(FrameSide::TopLeft);
    QTest::newRow("top right") << QPoint(199, 2) << int(FrameSide::TopRight);
    QTest::newRow("bottom left") << QPoint(0, 98) << int(FrameSide::BottomLeft);
    QTest::newRow("bottom right") << QPoint(199, 99) << int(FrameSide::BottomRight);
}

void TestQSkinObject::frameSide()
{
    QFETCH(QPoint, pos);
    QFETCH(int, side);
    QCOMPARE(int(frameSideAt(pos, QSize(200, 100), 3)), side);
    // Without a frame range only moving is left.
    QCOMPARE(frameSideAt(pos, QSize(200, 100), 0), FrameSide::Centre);
}

void TestQSkinObject::resized_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    const QRect start(100, 100, 300, 200);
    QTest::newRow("right grows") << int(FrameSide::Right) << QPoint(50, 9) << QRect(100, 100, 350, 200);
    QTest::newRow("left keeps right edge") << int(FrameSide::Left) << QPoint(-20, 0)
                                           << QRect(80, 100, 320, 200);
    QTest::newRow("left stops at minimum") << int(FrameSide::Left) << QPoint(250, 0)
                                           << QRect(250, 100, 150, 200);
    QTest::newRow("right stops at minimum") << int(FrameSide::Right) << QPoint(-250, 0)
                                            << QRect(100, 100, 150, 200);
    QTest::newRow("top stops at minimum") << int(FrameSide::Top) << QPoint(0, 190)
                                          << QRect(100, 260, 300, 40);
    QTest::newRow("bottom right") << int(FrameSide::BottomRight) << QPoint(10, 20)
                                  << QRect(100, 100, 310, 220);
    QTest::newRow("top left") << int(FrameSide::TopLeft) << QPoint(10, 20)
                              << QRect(110, 120, 290, 180);
    QTest::newRow("right stops at maximum") << int(FrameSide::Right) << QPoint(900, 0)
                                            << QRect(100, 100, 500, 200);
}

void TestQSkinObject::resized()
{
    QFETCH(int, side);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QCOMPARE(resizedGeometry(QRect(100, 100, 300, 200), FrameSide(side), delta, QSize(150, 40),
                             QSize(500, 400)),
             expected);
}

void TestQSkinObject::grabRange_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("close");
    QTest::addColumn<int>("range");
    QTest::newRow("thin frame kept whole") << 6 << 32 << 18 << 6;
    QTest::newRow("wide frame halved") << 20 << 60 << 18 << 10;
    QTest::newRow("limited by title bar") << 20 << 30 << 18 << 6;
    QTest::newRow("no skin") << 0 << 0 << 0 << 0;
}

void TestQSkinObject::grabRange()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, close);
    QFETCH(int, range);
    QCOMPARE(frameGrabRange(left, top, close), range);
}

void TestQSkinObject::installedSkinsLoad_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<int>("top");
    QTest::newRow("main window") << "skin/skin.ini" << 32;
    QTest::newRow("importer") << "skin/exporter.ini" << 28;
}

// The shipped settings must parse: a colour written with "#" or a font with commas can be
// lost to the INI syntax.
void TestQSkinObject::installedSkinsLoad()
{
    QFETCH(QString, ini);
    QFETCH(int, top);
    const QString installed = TestPaths::sourceDir() + QStringLiteral("/data/install/");
    QWidget window;
    window.resize(300, 200);
    QSkinObject skin(&window, 4);
    skin.setSkinFile(relativeToProgram(installed + ini));
    skin.startSkinning();
    // The skin path is relative to the program's folder, which is the stage folder when
    // installed; here it must at least name a shipped skin.
    const QString svg = skin.skinFilePath().mid(QCoreApplication::applicationDirPath().size() + 1);
    QVERIFY2(QFile::exists(installed + svg), qPrintable(svg));
    QCOMPARE(skin.titleColorValue(), QColor(QStringLiteral("#d8dee9")));
    QCOMPARE(skin.backgroundColorValue(), QColor(0x1a, 0x1f, 0x28));
    QCOMPARE(skin.titleFontValue().family(), QStringLiteral("Sans Serif"));
    QCOMPARE(skin.alphaValue(), 1.0);

    QFile file(installed + ini);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QString body = QString::fromUtf8(file.readAll());
    body.replace(svg, QStringLiteral("$SVG"));
    QWidget framed;
    framed.resize(300, 200);
    QSkinObject framedSkin(&framed, 4);
    m_installedSvg = installed + svg;
    framedSkin.setSkinFile(writeSkin(body));
    m_installedSvg = installed + QStringLiteral("skin/skin.svg");
    framedSkin.startSkinning();
    const QMargins margins = framed.contentsMargins();
    QCOMPARE(QRect(margins.left(), margins.top(), margins.right(), margins.bottom()),
             QRect(kLeft, top, kRight, kBottom));
    for (const char *button : {"minimize", "maximize", "close"}) {
        for (const char *state : {"normal", "hover", "pressed"}) {
            const QString id = QLatin1String(button) + QStringLiteral("_button_") + QLatin1String(state);
            QVERIFY2(framedSkin.elementSize(id) == QSize(kButtonWidth, kButtonHeight), qPrintable(id));
        }
    }
}

void TestQSkinObject::missingSettingsGiveDefaults()
{
    QWidget *window = makeWindow(1, QStringLiteral("no/such/skin.ini"));
    auto *skin = window->findChild<QSkinObject *>();
    QVERIFY(!skin); // not a child: it goes with the window through destroyed()
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->contentsMargins(), QMargins());
    QCOMPARE(window->minimumSize(), QSize(128, 0));
    // Still movable without any frame.
    const QPoint before = window->pos();
    drag(window, QPoint(200, 150), QPoint(30, 20));
    QTRY_COMPARE(window->pos(), before + QPoint(30, 20));
}

void TestQSkinObject::damagedValuesFallBack()
{
    QWidget window;
    QSkinObject skin(&window, 1);
    skin.setSkinFile(writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\nAlpha=half\n"
                                              "Titelfarbe=notacolour\nHintergrundfarbe=zz\n")));
    skin.startSkinning();
    QCOMPARE(skin.alphaValue(), 1.0);
    QCOMPARE(skin.titleColorValue(), QColor(255, 100, 0));
    QCOMPARE(skin.backgroundColorValue(), QColor(Qt::black));
    QCOMPARE(skin.titleFontValue().family(), QStringLiteral("Arial"));
    QVERIFY(window.windowOpacity() > 0.99);
}

void TestQSkinObject::windowIsFramelessAndShaped()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window->contentsMargins(), QMargins(kLeft, kTop, kRight, kBottom));
    QTRY_VERIFY(!window->mask().isEmpty());
    const QRegion mask = window->mask();
    const int w = window->width();
    const int h = window->height();
    // Rounded corners are cut away; straight edges and the inside stay.
    for (const QPoint &hole : {QPoint(0, 0), QPoint(1, 1), QPoint(w - 1, 0), QPoint(0, h - 1),
                               QPoint(w - 1, h - 1)})
        QVERIFY2(!mask.contains(hole), qPrintable(QStringLiteral("%1,%2").arg(hole.x()).arg(hole.y())));
    for (const QPoint &kept : {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2),
                               QPoint(w / 2, h - 1), QPoint(w / 2, h / 2), QPoint(12, 12)})
        QVERIFY2(mask.contains(kept), qPrintable(QStringLiteral("%1,%2").arg(kept.x()).arg(kept.y())));
}

void TestQSkinObject::titleAndIconAreDrawn()
{
    const QString ini = writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\nTitelfarbe=#00ff00\n"
                                                 "Hintergrundfarbe=000080\n"));
    auto *window = new QWidget;
    m_windows.append(window);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    window->setWindowIcon(QIcon(icon));
    window->setWindowTitle(QStringLiteral("WWWWWWWWWW"));
    window->resize(400, 300);
    auto *skin = new QSkinObject(window, 1);
    skin->setSkinFile(ini);
    skin->startSkinning();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QImage image = window->grab().toImage();

    // Icon at x = 2 * left + 16, y = top / 2 - 8.
    QCOMPARE(pixelAt(image, QPoint(2 * kLeft + 16 + 8, kTop / 2)), QColor(Qt::red));
    // Title text starts at x = 2 * left + 36 and is vertically centred.
    int green = 0;
    for (int x = 2 * kLeft + 36; x < 2 * kLeft + 136; ++x) {
        for (int y = 0; y < kTop; ++y) {
            const QColor c = pixelAt(image, QPoint(x, y));
            green += c.green() > 150 && c.red() < 100 && c.blue() < 100;
        }
    }
    QVERIFY2(green > 20, qPrintable(QString::number(green)));
    QCOMPARE(pixelAt(image, QPoint(200, 150)), QColor(0, 0, 0x80));
}

void TestQSkinObject::iconTextSetsIconSize()
{
    auto *window = new QWidget;
    m_windows.append(window);
    QPixmap icon(32, 24);
    icon.fill(Qt::red);
    window->setWindowIcon(QIcon(icon));
    window->setWindowIconText(QStringLiteral("24x20"));
    window->resize(400, 300);
    auto *skin = new QSkinObject(window, 1);
    skin->setSkinFile(writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    skin->startSkinning();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QImage image = window->grab().toImage();
    // 24 x 20 at x = 2 * left + 10, y = (top - 20) / 2.
    const QRect expected(2 * kLeft + 10, (kTop - 20) / 2, 24, 20);
    QCOMPARE(pixelAt(image, expected.topLeft()), QColor(Qt::red));
    QCOMPARE(pixelAt(image, expected.bottomRight()), QColor(Qt::red));
    QVERIFY(pixelAt(image, expected.bottomRight() + QPoint(1, 0)) != QColor(Qt::red));
    QVERIFY(pixelAt(image, expected.bottomRight() + QPoint(0, 1)) != QColor(Qt::red));
}

void TestQSkinObject::hoverAndPressChangeButton()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect close(400 - kTopRight - kButtonWidth, (kTop - kButtonHeight) / 2, kButtonWidth,
                      kButtonHeight);
    const QPoint plate = close.topLeft() + QPoint(2, 9);
    const QColor normal = pixelAt(window->grab().toImage(), plate);
    QVERIFY(normal.red() < 0x60);

    QTest::mouseMove(window, close.center());
    const QColor hover = pixelAt(window->grab().toImage(), plate);
    QCOMPARE(hover, QColor(0xb0, 0x41, 0x3e));

    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, close.center());
    const QColor pressed = pixelAt(window->grab().toImage(), plate);
    QCOMPARE(pressed, QColor(0x8a, 0x2f, 0x2d));
    // Leave the button before letting go: no action.
    QTest::mouseMove(window, QPoint(200, 150));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QVERIFY(window->isVisible());
    QCOMPARE(pixelAt(window->grab().toImage(), plate), normal);
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
    QWidget *window = makeWindow(set, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> guard(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint close(400 - kTopRight - kButtonWidth / 2, kTop / 2);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, close);
    if (closes) {
        QTRY_VERIFY(guard.isNull());
    } else {
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!guard.isNull());
    }
}

void TestQSkinObject::releaseOutsideButtonsDoesNothing_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QPoint>("pos");
    const int closeX = 400 - kTopRight - kButtonWidth;
    QTest::newRow("top strip over close") << 1 << QPoint(closeX + 10, 6);
    QTest::newRow("between buttons") << 1 << QPoint(closeX - 20, kTop / 2);
    QTest::newRow("title") << 1 << QPoint(120, kTop / 2);
    QTest::newRow("client area") << 1 << QPoint(200, 150);
    QTest::newRow("set 4 has no minimize") << 4 << QPoint(400 - kTopRight - 5 * kButtonWidth + 10, kTop / 2);
    QTest::newRow("set 3 has no close") << 3 << QPoint(closeX + 10, kTop / 2);
}

void TestQSkinObject::releaseOutsideButtonsDoesNothing()
{
    QFETCH(int, set);
    QFETCH(QPoint, pos);
    QWidget *window = makeWindow(set, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, pos);
    QCoreApplication::processEvents();
    QVERIFY(window->isVisible());
    QVERIFY(!window->isMinimized());
}

void TestQSkinObject::minimizeButton()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint minimize(400 - kTopRight - 5 * kButtonWidth + kButtonWidth / 2, kTop / 2);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, minimize);
    QTRY_VERIFY(window->isMinimized());
}

void TestQSkinObject::dragMovesWindow()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint before = window->pos();
    const QSize size = window->size();
    QSignalSpy activated(window->findChild<QSkinWidgetResizeHandler *>(),
                         &QSkinWidgetResizeHandler::activate);
    drag(window, QPoint(120, kTop / 2), QPoint(60, 45));
    QTRY_COMPARE(window->pos(), before + QPoint(60, 45));
    QCOMPARE(window->size(), size);
    QCOMPARE(activated.count(), 1);
}

void TestQSkinObject::edgeDragResizes_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("change"); // added to the old geometry's left, top, width, height
    QTest::newRow("right edge") << QPoint(399, 150) << QPoint(40, 30) << QRect(0, 0, 40, 0);
    QTest::newRow("bottom edge") << QPoint(200, 299) << QPoint(15, 25) << QRect(0, 0, 0, 25);
    QTest::newRow("left edge") << QPoint(1, 150) << QPoint(-30, 10) << QRect(-30, 0, 30, 0);
    QTest::newRow("bottom right corner") << QPoint(398, 298) << QPoint(35, 45) << QRect(0, 0, 35, 45);
    QTest::newRow("top edge") << QPoint(200, 2) << QPoint(0, 20) << QRect(0, 20, 0, -20);
}

void TestQSkinObject::edgeDragResizes()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, delta);
    QFETCH(QRect, change);
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect before = window->geometry();
    drag(window, from, delta);
    const QRect expected(before.x() + change.x(), before.y() + change.y(),
                         before.width() + change.width(), before.height() + change.height());
    QTRY_COMPARE(window->geometry(), expected);
}

void TestQSkinObject::resizeStopsAtMinimumWidth()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const int minimum = kLeft + kRight + 128;
    QCOMPARE(window->minimumWidth(), minimum);
    const QRect before = window->geometry();
    drag(window, QPoint(399, 150), QPoint(-350, 0));
    QTRY_COMPARE(window->width(), minimum);
    QCOMPARE(window->x(), before.x());
    // From the left the right edge stays put.
    window->resize(400, 300);
    QTRY_COMPARE(window->width(), 400);
    const int right = window->geometry().right();
    drag(window, QPoint(1, 150), QPoint(390, 0));
    QTRY_COMPARE(window->width(), minimum);
    QCOMPARE(window->geometry().right(), right);
}

void TestQSkinObject::alphaFromSettings()
{
    QWidget *window = makeWindow(1, writeSkin(QStringLiteral("[Skin]\nSkinpfad=$SVG\nAlpha=0.5\n")));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(qAbs(window->windowOpacity() - 0.5) < 0.01);
    auto *skin = window->findChild<QSkinWidgetResizeHandler *>();
    QVERIFY(skin);
}

// Set ZORVA_SCREENSHOT_DIR to write skinned-window.png there.
void TestQSkinObject::screenshot()
{
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR not set");
    QFile installedIni(TestPaths::sourceDir() + QStringLiteral("/data/install/skin/skin.ini"));
    QVERIFY(installedIni.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString ini = writeSkin(QString::fromUtf8(installedIni.readAll())
                                      .replace(QStringLiteral("skin/skin.svg"), QStringLiteral("$SVG")));
    // A light desk behind the window makes the cut corners visible.
    auto *desk = new QWidget;
    m_windows.append(desk);
    desk->setWindowFlags(Qt::FramelessWindowHint);
    desk->setStyleSheet(QStringLiteral("background: #8c96a3;"));
    desk->setGeometry(30, 30, 540, 380);
    desk->show();
    QVERIFY(QTest::qWaitForWindowExposed(desk));
    auto *window = new QWidget;
    m_windows.append(window);
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0x3f, 0xb6, 0xc6));
        p.setPen(Qt::NoPen);
        p.drawEllipse(1, 1, 14, 14);
    }
    window->setWindowIcon(QIcon(icon));
    window->setWindowTitle(QStringLiteral("ZORVA"));
    auto *layout = new QVBoxLayout(window);
    auto *label = new QLabel(QStringLiteral("Client area"), window);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: #8894a6;"));
    layout->addWidget(label);
    window->resize(480, 320);
    window->move(60, 60);
    auto *skin = new QSkinObject(window, 1);
    skin->setSkinFile(ini);
    skin->startSkinning();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseMove(window, QPoint(480 - kTopRight - kButtonWidth / 2, kTop / 2));
    QTRY_VERIFY(window->grab().toImage().pixel(480 - kTopRight - kButtonWidth + 2, 16)
                == qRgb(0xb0, 0x41, 0x3e));
    // Grab the screen around the window so that the cut corners show.
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = window->geometry().adjusted(-20, -20, 20, 20);
    QTest::qWait(200); // let the X server finish drawing what the grab above already shows
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QVERIFY(shot.save(folder + QStringLiteral("/skinned-window.png")));
}

QTEST_MAIN(TestQSkinObject)
#include "tst_qskinobject.moc"
