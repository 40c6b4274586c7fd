// The transcript view: options from the settings store, the background pictures beside
// the program, cycling through them and the plain colour. The program is built into a
// folder of its own (tests/text) whose res/textview/Background it fills for each case;
// settings go to a private XDG_CONFIG_HOME set before start-up.
#include "editor.h"
#include "qtextview.h"
#include "testpaths.h"

#include <QApplication>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString backgroundFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/res/textview/Background");
}

// Flat pictures, so that the brush tells which one is shown; by name ignoring case
// they are A.png, b.png, c.bmp.
const QColor kRed(200, 0, 0), kBlue(0, 0, 200), kGreen(0, 200, 0);
const QList<QPair<QString, QColor>> kPictures
    = { { "A.png", kRed }, { "b.png", kBlue }, { "c.bmp", kGreen } };

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
    void background_data();
    void background();
    void cancelledColourChoiceKeepsThePicture();
    void backgroundSurvivesRepolish();
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
    QCOMPARE(shownColor(view), kRed);
    Editor *editor = view.editor();
    QCOMPARE(editor->frameRect(), QRect(5, 5, 300, 350));
    QCOMPARE(editor->textColorValue(), QColor(Qt::white));
    QCOMPARE(editor->fontSizeValue(), 14);
    QCOMPARE(editor->fontValue().family(), QStringLiteral("Verdana"));
    QCOMPARE(editor->opacityValue(), 0.0);
    // Each stored key reaches the panel.
    storeOptions({ { "m_nStartX", 12 }, { "m_nStartY", 34 }, { "m_nWidth", 111 },
        { "m_nHeight", 222 }, { "m_fontColor", QColor(1, 2, 3) }, { "m_nFontSize", 20 },
        { "m_fontFamily", "DejaVu Serif" }, { "m_dOpacity", 0.25 } });
    QTextView stored(nullptr);
    editor = stored.editor();
    QCOMPARE(editor->frameRect(), QRect(12, 34, 111, 222));
    QCOMPARE(editor->textColorValue(), QColor(1, 2, 3));
    QCOMPARE(editor->fontSizeValue(), 20);
    QCOMPARE(editor->fontValue().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(editor->opacityValue(), 0.25);
}

void TestQTextView::background_data()
{
    QTest::addColumn<int>("pictures"); // how many of kPictures; -1: no folder at all
    QTest::addColumn<QVariantMap>("options");
    QTest::addColumn<QString>("steps"); // n = next, p = previous
    QTest::addColumn<QColor>("shown");
    const QVariantMap none { { "m_background", "NONE" } };
    // The folder may have been emptied by hand: the empty list must not be indexed.
    const QVariantMap gone { { "m_background", "A.png" },
        { "m_backgroundColor", QColor(7, 8, 9) } };
    QTest::newRow("stored name") << 3 << QVariantMap { { "m_background", "b.png" } } << "" << kBlue;
    QTest::newRow("B.png is not b.png")
        << 3 << QVariantMap { { "m_background", "B.png" } } << "" << kRed;
    QTest::newRow("NONE, no colour: transparent") << 3 << none << "" << QColor(Qt::transparent);
    QTest::newRow("NONE, colour as text")
        << 3 << QVariantMap { { "m_background", "NONE" }, { "m_backgroundColor", "#405060" } } << ""
        << QColor(0x40, 0x50, 0x60);
    QTest::newRow("next after the last shows the first") << 3 << QVariantMap() << "nnn" << kRed;
    QTest::newRow("previous before the first shows the last")
        << 3 << QVariantMap() << "p" << kGreen;
    QTest::newRow("back and forth") << 3 << QVariantMap() << "npnnp" << kBlue;
    QTest::newRow("single picture") << 1 << QVariantMap() << "npp" << kRed;
    QTest::newRow("empty folder") << 0 << gone << "np" << QColor(7, 8, 9);
    QTest::newRow("no folder") << -1 << gone << "np" << QColor(7, 8, 9);
}

void TestQTextView::background()
{
    QFETCH(int, pictures);
    QFETCH(QVariantMap, options);
    QFETCH(QString, steps);
    QFETCH(QColor, shown);
    if (pictures < 0)
        QDir(backgroundFolder()).removeRecursively();
    makePictures(kPictures.mid(0, qMax(pictures, 0)));
    storeOptions(options);
    QTextView view(nullptr);
    for (const QChar step : steps)
        step == QLatin1Char('n') ? view.nextBackground() : view.previousBackground();
    QCOMPARE(shownColor(view), shown);
    view.resize(320, 380);
    if (shown.alpha() == 255)
        QCOMPARE(QColor(view.grab().toImage().pixel(200, 370)), shown);
}

void TestQTextView::cancelledColourChoiceKeepsThePicture()
{
    makePictures(kPictures);
    QTextView view(nullptr);
    view.nextBackground();
    answerColourDialog(this, QColor());
    view.colorBackground();
    QCOMPARE(shownColor(view), kBlue);
    answerColourDialog(this, QColor(0, 128, 0));
    view.colorBackground();
    QCOMPARE(view.backgroundName(), QStringLiteral("NONE"));
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
    auto *view = new QTextView(&window);
    (new QHBoxLayout(&window))->addWidget(view);
    view->previousBackground();
    window.resize(400, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setStyleSheet(QStringLiteral("QLabel { color: gray; }"));
    QCOMPARE(QColor(view->grab().toImage().pixel(view->width() - 3, view->height() - 3)), kGreen);
}

// With ZORVA_SCREENSHOT_DIR set, writes text-view.png there: the shipped pictures side by side.
void TestQTextView::screenshot()
{
    const QString folder = qEnvironmentVariable("ZORVA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("ZORVA_SCREENSHOT_DIR not set");
    const QDir shipped(TestPaths::sourceDir() + "/data/install/res/textview/Background");
    const QStringList pictures = shipped.entryList(QDir::Files);
    QVERIFY(!pictures.isEmpty());
    for (const QString &picture : pictures)
        QFile::copy(shipped.filePath(picture), backgroundFolder() + '/' + picture);
    QFile file(m_dir.filePath(QStringLiteral("sample.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(u8"Good morning, ladies and gentlemen.<br>\n\n各位女士，各位先生，早上好。");
    file.close();
    storeOptions({ { "m_dOpacity", 0.08 } });
    QWidget strip;
    auto *layout = new QHBoxLayout(&strip);
    for (int i = 0; i < pictures.size(); ++i) {
        auto *view = new QTextView(&strip);
        for (int step = 0; step < i; ++step)
            view->nextBackground();
        view->openText(file.fileName());
        view->resizeEditor(200, 250);
        layout->addWidget(view);
    }
    strip.resize(215 * pictures.size(), 265);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QVERIFY(strip.grab().save(folder + QStringLiteral("/text-view.png")));
}

int main(int argc, char **argv)
{
    QTemporaryDir config; // set before anything reads settings: never the developer's own
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestQTextView test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtextview.moc"
