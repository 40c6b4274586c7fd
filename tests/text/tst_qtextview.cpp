// The transcript view: options from the settings store, the background picture folder
// beside the program, cycling through pictures and the plain colour.
// The program is built into its own folder (tests/text), whose res/textview/Background it
// fills for each case; settings go to a private XDG_CONFIG_HOME made before start-up.
#include "editor.h"
#include "qtextview.h"
#include "testpaths.h"

#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

QString backgroundFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/res/textview/Background");
}

// Flat-coloured pictures, so that the brush tells which one is shown. Sorted by name
// ignoring case they are A.png, b.png, c.bmp.
const QColor kRed(200, 0, 0), kBlue(0, 0, 200), kGreen(0, 200, 0);
const QList<QPair<QString, QColor>> kPictures
    = { { "b.png", kBlue }, { "A.png", kRed }, { "c.bmp", kGreen } };

QColor shownColor(const QTextView &view)
{
    const QBrush brush = view.editor()->palette().brush(QPalette::Window);
    return brush.style() == Qt::TexturePattern ? QColor(brush.textureImage().pixel(0, 0))
                                               : brush.color();
}

void makePictures(const QList<QPair<QString, QColor>> &pictures)
{
    for (const auto &picture : pictures) {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(picture.second);
        image.save(backgroundFolder() + QLatin1Char('/') + picture.first);
    }
}

void storeOptions(const QVariantMap &options)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TextView"),
        QStringLiteral("TextView"));
    settings.clear();
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        settings.setValue(QStringLiteral("Options/") + it.key(), it.value());
}

// Answers the modal colour chooser once it is up: a valid colour accepts, an invalid cancels.
void answerColourDialog(QObject *context, const QColor &color)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        dialog->setCurrentColor(color);
        color.isValid() ? dialog->accept() : dialog->reject();
    });
    poll->start(20);
}

} // namespace

class TestQTextView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase()
    {
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/res")).removeRecursively();
    }
    void defaultsWithoutSettings();
    void storedOptionsAreUsed();
    void storedBackground_data();
    void storedBackground();
    void cyclingWraps_data();
    void cyclingWraps();
    void noPicturesShowsPlainColour_data();
    void noPicturesShowsPlainColour();
    void colourChoice();
    void backgroundSurvivesRepolish();
    void openAndResizeReachThePanel();
    void screenshot();

private:
    QTemporaryDir m_dir;
};

void TestQTextView::init()
{
    QDir(backgroundFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(backgroundFolder()));
    storeOptions({});
}

void TestQTextView::defaultsWithoutSettings()
{
    makePictures(kPictures);
    QDir().mkpath(backgroundFolder() + QStringLiteral("/folder.png"));
    QFile(backgroundFolder() + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
    QTextView view(nullptr);
    QCOMPARE(view.backgroundList(), (QStringList { "A.png", "b.png", "c.bmp" })); // pictures only
    QCOMPARE(view.backgroundName(), QStringLiteral("A.png"));
    QCOMPARE(shownColor(view), kRed);
    Editor *editor = view.editor();
    QCOMPARE(editor->frameRect(), QRect(5, 5, 300, 350));
    QCOMPARE(editor->textColorValue(), QColor(Qt::white));
    QCOMPARE(editor->fontSizeValue(), 14);
    QCOMPARE(editor->fontValue().family(), QStringLiteral("Verdana"));
    QCOMPARE(editor->opacityValue(), 0.0);
    QVERIFY(editor->autoFillBackground());
    view.resize(500, 420);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(editor->geometry(), view.rect());
}

void TestQTextView::storedOptionsAreUsed()
{
    makePictures(kPictures);
    storeOptions({ { "m_nStartX", 12 }, { "m_nStartY", 34 }, { "m_nWidth", 111 },
        { "m_nHeight", 222 }, { "m_fontColor", QColor(1, 2, 3) }, { "m_nFontSize", 20 },
        { "m_fontFamily", "DejaVu Serif" }, { "m_dOpacity", 0.25 }, { "m_background", "c.bmp" } });
    QTextView view(nullptr);
    Editor *editor = view.editor();
    QCOMPARE(editor->frameRect(), QRect(12, 34, 111, 222));
    QCOMPARE(editor->textColorValue(), QColor(1, 2, 3));
    QCOMPARE(editor->fontSizeValue(), 20);
    QCOMPARE(editor->fontValue().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(editor->opacityValue(), 0.25);
    QCOMPARE(shownColor(view), kGreen);
    view.nextBackground(); // never written back
    QCOMPARE(shownColor(QTextView(nullptr)), kGreen);
}

void TestQTextView::storedBackground_data()
{
    QTest::addColumn<QVariantMap>("options");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("exact name") << QVariantMap { { "m_background", "b.png" } } << kBlue;
    QTest::newRow("Sky.png is not sky.png")
        << QVariantMap { { "m_background", "Sky.png" } } << kRed;
    QTest::newRow("picture gone") << QVariantMap { { "m_background", "gone.png" } } << kRed;
    QTest::newRow("NONE, no colour: transparent")
        << QVariantMap { { "m_background", "NONE" } } << QColor(Qt::transparent);
    QTest::newRow("NONE with colour")
        << QVariantMap { { "m_background", "NONE" }, { "m_backgroundColor", QColor(1, 2, 3) } }
        << QColor(1, 2, 3);
    QTest::newRow("colour as text")
        << QVariantMap { { "m_background", "NONE" }, { "m_backgroundColor", "#405060" } }
        << QColor(0x40, 0x50, 0x60);
}

void TestQTextView::storedBackground()
{
    QFETCH(QVariantMap, options);
    QFETCH(QColor, shown);
    makePictures({ { "A.png", kRed }, { "b.png", kBlue }, { "sky.png", kGreen } });
    storeOptions(options);
    QTextView view(nullptr);
    QCOMPARE(shownColor(view), shown);
    QCOMPARE(view.backgroundIndex(), shown == kBlue ? 1 : 0);
}

void TestQTextView::cyclingWraps_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("steps"); // n = next, p = previous
    QTest::addColumn<int>("index");
    QTest::newRow("next after the last shows the first") << 3 << "nnn" << 0;
    QTest::newRow("previous before the first shows the last") << 3 << "p" << 2;
    QTest::newRow("back and forth") << 3 << "npnnp" << 1;
    QTest::newRow("single picture, next") << 1 << "n" << 0;
    QTest::newRow("single picture, previous") << 1 << "pp" << 0;
}

void TestQTextView::cyclingWraps()
{
    QFETCH(int, pictures);
    QFETCH(QString, steps);
    QFETCH(int, index);
    const QList<QPair<QString, QColor>> sorted { kPictures[1], kPictures[0], kPictures[2] };
    makePictures(sorted.mid(0, pictures));
    QTextView view(nullptr);
    for (const QChar step : steps)
        step == QLatin1Char('n') ? view.nextBackground() : view.previousBackground();
    QCOMPARE(view.backgroundIndex(), index);
    QCOMPARE(view.backgroundName(), sorted[index].first);
    QCOMPARE(shownColor(view), sorted[index].second);
}

void TestQTextView::noPicturesShowsPlainColour_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty folder") << true << QString();
    QTest::newRow("empty folder, stored picture") << true << "A.png";
    QTest::newRow("no folder") << false << QString();
}

// The folder may have been emptied by hand: the empty list must not be indexed.
void TestQTextView::noPicturesShowsPlainColour()
{
    QFETCH(bool, folder);
    QFETCH(QString, stored);
    if (!folder)
        QDir(backgroundFolder()).removeRecursively();
    QVariantMap options { { "m_backgroundColor", QColor(7, 8, 9) } };
    if (!stored.isEmpty())
        options.insert(QStringLiteral("m_background"), stored);
    storeOptions(options);
    QTextView view(nullptr);
    view.nextBackground();
    view.previousBackground();
    QCOMPARE(shownColor(view), QColor(7, 8, 9));
    view.resize(320, 380);
    QCOMPARE(view.grab().toImage().pixel(200, 370), qRgb(7, 8, 9));
}

void TestQTextView::colourChoice()
{
    makePictures(kPictures);
    QTextView view(nullptr);
    view.nextBackground();
    answerColourDialog(this, QColor()); // cancelled: the picture stays
    view.colorBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("b.png"));
    QCOMPARE(shownColor(view), kBlue);
    answerColourDialog(this, QColor(0, 128, 0));
    view.colorBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("NONE"));
    QCOMPARE(view.editor()->palette().brush(QPalette::Window).style(), Qt::SolidPattern);
    QCOMPARE(shownColor(view), QColor(0, 128, 0));
    view.nextBackground(); // goes on from the picture shown before
    QCOMPARE(view.backgroundName(), QStringLiteral("c.bmp"));
}

// Showing the window or restyling an ancestor once put the constructor's picture back:
// polishing the panel (it has a style sheet) restores an older palette.
void TestQTextView::backgroundSurvivesRepolish()
{
    makePictures(kPictures);
    QWidget window;
    auto *layout = new QGridLayout(&window);
    auto *first = new QTextView(&window);
    auto *second = new QTextView(&window);
    layout->addWidget(first, 0, 0);
    layout->addWidget(second, 0, 1);
    second->nextBackground();
    window.resize(700, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto corner = [](QTextView *view) {
        return QColor(view->grab().toImage().pixel(view->width() - 3, view->height() - 3));
    };
    QCOMPARE(corner(first), kRed);
    QCOMPARE(corner(second), kBlue);
    first->previousBackground();
    window.setStyleSheet(QStringLiteral("QLabel { color: gray; }"));
    QCOMPARE(corner(first), kGreen);
    QCOMPARE(corner(second), kBlue);
}

void TestQTextView::openAndResizeReachThePanel()
{
    QFile file(m_dir.filePath(QStringLiteral("lesson.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<p>Good&nbsp;morning</p>");
    file.close();
    QTextView view(nullptr);
    view.openText(file.fileName());
    QCOMPARE(view.editor()->textArea()->toPlainText(), QStringLiteral("Goodmorning"));
    view.resizeEditor(300, 200);
    QCOMPARE(view.editor()->textArea()->geometry(), QRect(6, 6, 299, 199));
}

// Set ZORVA_SCREENSHOT_DIR to write text-view.png there: the shipped pictures side by side.
void TestQTextView::screenshot()
{
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR not set");
    const QDir shipped(
        TestPaths::sourceDir() + QStringLiteral("/data/install/res/textview/Background"));
    const QStringList pictures = shipped.entryList(QDir::Files);
    QVERIFY(!pictures.isEmpty());
    for (const QString &picture : pictures)
        QFile::copy(shipped.filePath(picture), backgroundFolder() + QLatin1Char('/') + picture);
    QFile file(m_dir.filePath(QStringLiteral("sample.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("Good morning, ladies and gentlemen. Welcome to today's session on "
                              "climate and energy.<br>\n\n各位女士，各位先生，早上好。")
                   .toUtf8());
    file.close();
    storeOptions({ { "m_dOpacity", 0.08 } });
    QWidget strip;
    auto *layout = new QGridLayout(&strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (int i = 0; i < pictures.size(); ++i) {
        auto *view = new QTextView(&strip);
        for (int step = 0; step < i; ++step)
            view->nextBackground();
        view->openText(file.fileName());
        view->resizeEditor(200, 250);
        layout->addWidget(view, 0, i);
    }
    strip.resize(215 * pictures.size(), 265);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QVERIFY(strip.grab().save(folder + QStringLiteral("/text-view.png")));
}

int main(int argc, char **argv)
{
    QTemporaryDir config; // before anything reads settings: never the developer's own
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestQTextView test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtextview.moc"
