// The transcript view: options from the settings store, the background picture folder
// beside the program, cycling through pictures and the plain colour.
// The test program is built into its own folder (tests/text), whose res/textview/Background
// it fills for each case; settings go to a private XDG_CONFIG_HOME made before start-up.
#include "editor.h"
#include "qtextview.h"

#include "testpaths.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QPainter>
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

// Each picture is one flat colour, so the brush tells which one is shown.
const QList<QPair<QString, QColor>> kThreePictures = {
    {QStringLiteral("b.png"), QColor(0, 0, 200)},
    {QStringLiteral("A.png"), QColor(200, 0, 0)},
    {QStringLiteral("c.bmp"), QColor(0, 200, 0)},
};

QColor shownColor(const QTextView &view)
{
    const QBrush brush = view.editor()->palette().brush(QPalette::Window);
    if (brush.style() == Qt::TexturePattern)
        return QColor(brush.textureImage().pixel(0, 0));
    return brush.color();
}

} // namespace

class TestQTextView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();

    void backgroundIndex_data();
    void backgroundIndex();
    void neighbours_data();
    void neighbours();

    void defaultsWithoutSettings();
    void storedOptionsAreUsed();
    void storedBackgroundName_data();
    void storedBackgroundName();
    void plainColour_data();
    void plainColour();
    void cyclingWraps_data();
    void cyclingWraps();
    void noPicturesShowsPlainColour_data();
    void noPicturesShowsPlainColour();
    void chosenColour();
    void cancelledColourKeepsBackground();
    void backgroundSurvivesRepolish();
    void openAndResizeReachThePanel();
    void screenshot();

private:
    void makePictures(const QList<QPair<QString, QColor>> &pictures);
    void storeOptions(const QVariantMap &options);
    void answerColourDialog(const QColor &color);

    QTemporaryDir m_dir;
};

void TestQTextView::init()
{
    QDir(backgroundFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(backgroundFolder()));
    storeOptions({});
}

void TestQTextView::cleanupTestCase()
{
    QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/res")).removeRecursively();
}

void TestQTextView::makePictures(const QList<QPair<QString, QColor>> &pictures)
{
    for (const auto &picture : pictures) {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(picture.second);
        QVERIFY(image.save(backgroundFolder() + QLatin1Char('/') + picture.first));
    }
}

void TestQTextView::storeOptions(const QVariantMap &options)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TextView"),
                       QStringLiteral("TextView"));
    settings.clear();
    settings.beginGroup(QStringLiteral("Options"));
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.endGroup();
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
}

// Answers the modal colour chooser once it is up: a valid colour accepts, an invalid one
// cancels.
void TestQTextView::answerColourDialog(const QColor &color)
{
    auto *poll = new QTimer(this);
    poll->setInterval(20);
    connect(poll, &QTimer::timeout, poll, [poll, color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        if (color.isValid()) {
            dialog->setCurrentColor(color);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    poll->start();
}

void TestQTextView::backgroundIndex_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<int>("index");
    const QStringList three{"a.png", "b.png", "sky.png"};
    QTest::newRow("exact") << "b.png" << three << 1;
    QTest::newRow("case differs") << "Sky.png" << three << 0;
    QTest::newRow("gone") << "gone.png" << three << 0;
    QTest::newRow("plain colour") << "NONE" << three << -1;
    QTest::newRow("no pictures") << "a.png" << QStringList() << -1;
    QTest::newRow("first of duplicates") << "b.png" << QStringList{"b.png", "b.png"} << 0;
}

void TestQTextView::backgroundIndex()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, pictures);
    QFETCH(int, index);
    QCOMPARE(backgroundIndexFor(stored, pictures), index);
}

void TestQTextView::neighbours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("middle") << 1 << 3 << 2 << 0;
    QTest::newRow("last wraps to first") << 2 << 3 << 0 << 1;
    QTest::newRow("first wraps to last") << 0 << 3 << 1 << 2;
    QTest::newRow("single picture") << 0 << 1 << 0 << 0;
}

void TestQTextView::neighbours()
{
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(nextBackgroundIndex(index, count), next);
    QCOMPARE(previousBackgroundIndex(index, count), previous);
}

void TestQTextView::defaultsWithoutSettings()
{
    makePictures(kThreePictures);
    QDir().mkpath(backgroundFolder() + QStringLiteral("/folder.png"));
    QFile notes(backgroundFolder() + QStringLiteral("/notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();

    QTextView view(nullptr);
    // Pictures only, by name ignoring case.
    QCOMPARE(view.backgroundList(), (QStringList{"A.png", "b.png", "c.bmp"}));
    QCOMPARE(view.backgroundName(), QStringLiteral("A.png"));
    QCOMPARE(view.backgroundIndex(), 0);
    QCOMPARE(shownColor(view), QColor(200, 0, 0));

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
    makePictures(kThreePictures);
    storeOptions({{"m_nStartX", 12},
                  {"m_nStartY", 34},
                  {"m_nWidth", 111},
                  {"m_nHeight", 222},
                  {"m_fontColor", QColor(1, 2, 3)},
                  {"m_nFontSize", 20},
                  {"m_fontFamily", "DejaVu Serif"},
                  {"m_dOpacity", 0.25},
                  {"m_background", "c.bmp"}});
    QTextView view(nullptr);
    Editor *editor = view.editor();
    QCOMPARE(editor->frameRect(), QRect(12, 34, 111, 222));
    QCOMPARE(editor->textColorValue(), QColor(1, 2, 3));
    QCOMPARE(editor->fontSizeValue(), 20);
    QCOMPARE(editor->fontValue().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(editor->opacityValue(), 0.25);
    QCOMPARE(view.backgroundIndex(), 2);
    QCOMPARE(shownColor(view), QColor(0, 200, 0));
    // Read only: nothing is written back.
    view.nextBackground();
    QTextView second(nullptr);
    QCOMPARE(second.backgroundIndex(), 2);
}

void TestQTextView::storedBackgroundName_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("exact name") << "b.png" << 1 << QColor(0, 0, 200);
    QTest::newRow("Sky.png is not sky.png") << "Sky.png" << 0 << QColor(200, 0, 0);
    QTest::newRow("picture gone") << "gone.png" << 0 << QColor(200, 0, 0);
}

void TestQTextView::storedBackgroundName()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(QColor, shown);
    makePictures({{"a.png", QColor(200, 0, 0)}, {"b.png", QColor(0, 0, 200)},
                  {"sky.png", QColor(0, 200, 200)}});
    storeOptions({{"m_background", stored}});
    QTextView view(nullptr);
    QCOMPARE(view.backgroundIndex(), index);
    QCOMPARE(shownColor(view), shown);
}

void TestQTextView::plainColour_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("no colour stored: transparent") << QVariant() << QColor(Qt::transparent);
    QTest::newRow("stored colour") << QVariant(QColor(10, 20, 30)) << QColor(10, 20, 30);
    QTest::newRow("colour written as text") << QVariant(QStringLiteral("#405060")) << QColor(0x40, 0x50, 0x60);
}

void TestQTextView::plainColour()
{
    QFETCH(QVariant, stored);
    QFETCH(QColor, shown);
    makePictures(kThreePictures);
    QVariantMap options{{"m_background", "NONE"}};
    if (stored.isValid())
        options.insert(QStringLiteral("m_backgroundColor"), stored);
    storeOptions(options);
    QTextView view(nullptr);
    QCOMPARE(view.editor()->palette().brush(QPalette::Window).style(), Qt::SolidPattern);
    QCOMPARE(shownColor(view), shown);
    QCOMPARE(view.backgroundIndex(), 0);
    // Pictures are still there to switch to.
    view.nextBackground();
    QCOMPARE(shownColor(view), QColor(0, 0, 200));
}

void TestQTextView::cyclingWraps_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("steps"); // n = next, p = previous
    QTest::addColumn<int>("index");
    QTest::newRow("next from the last shows the first") << 3 << "nnn" << 0;
    QTest::newRow("previous from the first shows the last") << 3 << "p" << 2;
    QTest::newRow("back and forth") << 3 << "npnnp" << 1;
    QTest::newRow("single picture, next") << 1 << "n" << 0;
    QTest::newRow("single picture, previous") << 1 << "pp" << 0;
}

void TestQTextView::cyclingWraps()
{
    QFETCH(int, pictures);
    QFETCH(QString, steps);
    QFETCH(int, index);
    const QList<QPair<QString, QColor>> sorted{kThreePictures.at(1), kThreePictures.at(0),
                                               kThreePictures.at(2)};
    makePictures(sorted.mid(0, pictures));
    QTextView view(nullptr);
    for (const QChar step : steps) {
        if (step == QLatin1Char('n'))
            view.nextBackground();
        else
            view.previousBackground();
    }
    QCOMPARE(view.backgroundIndex(), index);
    QCOMPARE(view.backgroundName(), sorted.at(index).first);
    QCOMPARE(shownColor(view), sorted.at(index).second);
}

void TestQTextView::noPicturesShowsPlainColour_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty folder, nothing stored") << true << QString();
    QTest::newRow("empty folder, stored picture") << true << "a.png";
    QTest::newRow("no folder") << false << QString();
}

// The folder may have been emptied by hand: nothing may index the empty list.
void TestQTextView::noPicturesShowsPlainColour()
{
    QFETCH(bool, folderExists);
    QFETCH(QString, stored);
    if (!folderExists)
        QVERIFY(QDir(backgroundFolder()).removeRecursively());
    QVariantMap options{{"m_backgroundColor", QColor(7, 8, 9)}};
    if (!stored.isEmpty())
        options.insert(QStringLiteral("m_background"), stored);
    storeOptions(options);
    QTextView view(nullptr);
    QVERIFY(view.backgroundList().isEmpty());
    QCOMPARE(shownColor(view), QColor(7, 8, 9));
    view.nextBackground();
    view.previousBackground();
    QCOMPARE(shownColor(view), QColor(7, 8, 9));
    QCOMPARE(view.backgroundIndex(), 0);
    view.resize(320, 380);
    QCOMPARE(view.grab().toImage().pixel(200, 370), qRgb(7, 8, 9));
}

void TestQTextView::chosenColour()
{
    makePictures(kThreePictures);
    QTextView view(nullptr);
    view.nextBackground();
    answerColourDialog(QColor(0, 128, 0));
    view.colorBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("NONE"));
    QCOMPARE(view.editor()->palette().brush(QPalette::Window).style(), Qt::SolidPattern);
    QCOMPARE(shownColor(view), QColor(0, 128, 0));
    // The picture sequence goes on from the picture shown before.
    QCOMPARE(view.backgroundIndex(), 1);
    view.nextBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("c.bmp"));
}

void TestQTextView::cancelledColourKeepsBackground()
{
    makePictures(kThreePictures);
    QTextView view(nullptr);
    answerColourDialog(QColor());
    view.colorBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("A.png"));
    QCOMPARE(shownColor(view), QColor(200, 0, 0));
    QCOMPARE(view.backgroundColor(), QColor(Qt::transparent));
}

// Switching pictures, then showing the window or restyling an ancestor, once put the
// picture from the constructor back: the panel's style sheet restores its older palette.
void TestQTextView::backgroundSurvivesRepolish()
{
    makePictures(kThreePictures);
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
    QCOMPARE(shownColor(*first), QColor(200, 0, 0));
    QCOMPARE(shownColor(*second), QColor(0, 0, 200));
    QCOMPARE(QColor(second->grab().toImage().pixel(second->width() - 3, second->height() - 3)),
             QColor(0, 0, 200));

    first->previousBackground();
    window.setStyleSheet(QStringLiteral("QLabel { color: gray; }"));
    QCOMPARE(shownColor(*first), QColor(0, 200, 0));
    QCOMPARE(shownColor(*second), QColor(0, 0, 200));
    QCOMPARE(QColor(first->grab().toImage().pixel(first->width() - 3, first->height() - 3)),
             QColor(0, 200, 0));
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
    QCOMPARE(view.editor()->frameRect(), QRect(5, 5, 300, 200));
    QCOMPARE(view.editor()->textArea()->geometry(), QRect(6, 6, 299, 199));
}

// Set ZORVA_SCREENSHOT_DIR to write text-view.png there: the installed pictures side by side.
void TestQTextView::screenshot()
{
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR not set");
    const QDir installed(TestPaths::sourceDir() + QStringLiteral("/data/install/res/textview/Background"));
    const QStringList pictures = installed.entryList(QDir::Files);
    QVERIFY(!pictures.isEmpty());
    for (const QString &picture : pictures)
        QVERIFY(QFile::copy(installed.filePath(picture), backgroundFolder() + QLatin1Char('/') + picture));
    QFile file(m_dir.filePath(QStringLiteral("sample.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Good morning, ladies and gentlemen. Welcome to today's session on climate and "
               "energy.<br>\n\n\xe5\x90\x84\xe4\xbd\x8d\xe5\xa5\xb3\xe5\xa3\xab\xef\xbc\x8c\xe5\x90\x84"
               "\xe4\xbd\x8d\xe5\x85\x88\xe7\x94\x9f\xef\xbc\x8c\xe6\x97\xa9\xe4\xb8\x8a\xe5\xa5\xbd\xe3"
               "\x80\x82");
    file.close();
    storeOptions({{"m_dOpacity", 0.08}});

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
    // Before anything reads settings: never the developer's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestQTextView test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtextview.moc"
