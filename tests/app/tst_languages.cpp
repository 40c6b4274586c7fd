// Every window of the trainer rendered in English and in Chinese: each text a learner sees on
// a button, label, tab or list status is one the language's catalogues give (a source text that
// slipped past them fails), and no tab title or status word is cut. Run once more with fonts at
// 200 % (QT_FONT_DPI=192), where fixed widths clip first.
#include "zorva.h"

#include "clicks.h"
#include "installationcopy.h"
#include "mater.h"
#include "testpaths.h"
#include "uilanguage.h"
#include "zorvaresources.h"

#include <QtTest>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>

namespace {

// The finished translations as patterns: arguments (%1) stand for anything.
QList<QRegularExpression> catalogue(const QString &folder)
{
    QList<QRegularExpression> patterns;
    const QDir dir(TestPaths::sourceDir() + QStringLiteral("/translations/") + folder);
    for (const QString &name : dir.entryList({ QStringLiteral("*.ts") })) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        while (xml.readNextStartElement() || !xml.atEnd()) {
            if (xml.isStartElement() && xml.name() == QLatin1String("translation") && xml.attributes().value(QLatin1String("type")).isEmpty()) {
                QString text = QRegularExpression::escape(xml.readElementText().remove(QLatin1Char('&')));
                text.replace(QRegularExpression(QStringLiteral("\\\\%(\\d|n)")), QStringLiteral(".*"));
                patterns.append(QRegularExpression(QLatin1Char('^') + text + QLatin1Char('$'), QRegularExpression::DotMatchesEverythingOption));
            }
        }
    }
    return patterns;
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslatedAndWhole_data();
    void everyTextTranslatedAndWhole();

private:
    void checkShownTexts();
    QStringList m_faults;
    QList<QRegularExpression> m_catalogue;
};

// Words of nobody's language (numbers, times, keys, the program's name) need no catalogue.
void TestLanguages::checkShownTexts()
{
    const auto check = [this](QString text, const QString &where) {
        text.remove(QLatin1Char('&'));
        const QString words = QString(text).remove(QStringLiteral("ZORVA"));
        const QStringList keys = text.split(QStringLiteral(", "));
        const auto isKey = [](const QString &key) { return QKeySequence::fromString(key, QKeySequence::NativeText).toString(QKeySequence::NativeText) == key; };
        if (std::any_of(words.begin(), words.end(), [](QChar c) { return c.isLetter(); }) && !std::all_of(keys.begin(), keys.end(), isKey)
            && std::none_of(m_catalogue.begin(), m_catalogue.end(), [&](const QRegularExpression &p) { return p.match(text).hasMatch(); }))
            m_faults << QStringLiteral("untranslated in %1: %2").arg(where, text);
    };
    const auto fits = [this](const QString &text, const QFontMetrics &metrics, int width) {
        if (metrics.horizontalAdvance(text) + 4 > width)
            m_faults << QStringLiteral("clipped: ") + text;
    };
    for (QWidget *window : QApplication::topLevelWidgets()) { // rendered: the texts below are what is painted
        if (window->isVisible())
            window->grab();
    }
    for (QWidget *widget : QApplication::allWidgets()) {
        if (!widget->isVisible())
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget))
            check(label->text(), widget->objectName());
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            check(button->text(), widget->objectName());
        if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                check(tabs->tabText(i), QStringLiteral("a tab"));
                fits(tabs->tabText(i), tabs->fontMetrics(), tabs->tabRect(i).intersected(tabs->rect()).width());
            }
        }
        if (auto *tree = qobject_cast<QTreeWidget *>(widget)) {
            // The library's first column holds the materials' own titles.
            const int first = qobject_cast<Mater *>(tree->window()) ? 1 : 0;
            for (int column = first; column < tree->columnCount() && !tree->header()->isHidden(); ++column)
                check(tree->headerItem()->text(column), tree->objectName());
            for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                for (int column = first; column < tree->columnCount(); ++column) {
                    check((*it)->text(column), tree->objectName());
                    fits((*it)->text(column), tree->fontMetrics(), tree->columnWidth(column));
                }
            }
        }
    }
}

void TestLanguages::everyTextTranslatedAndWhole_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("Chinese") << QStringLiteral("zh_CN");
}

void TestLanguages::everyTextTranslatedAndWhole()
{
    QFETCH(QString, language);
    zorvaInitResources();
    QApplication::setQuitOnLastWindowClosed(false);
    qputenv("ZORVA_UPDATE_URL", "http://127.0.0.1:9");
    QTemporaryDir dir;
    QVERIFY(copyInstallation(TestPaths::stageDir(), dir.path(), { QStringLiteral("ZORVA"), QStringLiteral("update") }));
    QVERIFY(QDir::setCurrent(dir.path()));
    qDeleteAll(qApp->findChildren<QTranslator *>()); // the other language's
    installTranslations(qApp, language);
    m_catalogue = catalogue(language == QLatin1String("en") ? QStringLiteral("default") : QStringLiteral("zh"));
    m_faults.clear();

    Zorva window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.isStarted());
    window.sltSwitchWorkspace(QStringLiteral("./workspace/lesson01.mp3"));
    checkShownTexts();
    QVERIFY(Clicks::clickNamed(&window, "btnStart"));
    QTRY_VERIFY(Clicks::named(&window, "btnRecord")->isVisible());
    window.findChild<QAction *>(QStringLiteral("keySheetAction"))->trigger();
    auto *library = window.findChild<Mater *>();
    library->show();
    for (int tab = 0; tab < 4; ++tab) { // the online list fails to load: its state too
        library->findChild<QTabWidget *>()->setCurrentIndex(tab);
        QTest::qWait(200);
        checkShownTexts();
    }
    m_faults.removeDuplicates();
    QVERIFY2(m_faults.isEmpty(), qPrintable(m_faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
