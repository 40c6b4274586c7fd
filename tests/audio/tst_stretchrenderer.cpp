// Slower copies of real materials: pitch and length, the cache and its limit, failures.
#include "audiofixtures.h"
#include "stretcher.h"
#include "stretchrenderer.h"

#include <QFileInfo>
#include <QtTest>

using namespace audio;

class TestStretchRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toneKeepsPitchAndStretchesLength();
    void cacheHitsAndEvictsLeastRecentlyUsed();
    void failures_data();
    void failures();

private:
    // The copy's path, or an empty text when the renderer failed.
    QString renderAndWait(StretchRenderer *renderer, const QString &material, double speed);
    QTemporaryDir m_dir;
    QString m_tone;
};

void TestStretchRenderer::initTestCase()
{
    m_tone = m_dir.filePath(QStringLiteral("tone.mp3"));
    QVERIFY(AudioFixtures::makeToneMp3(m_tone, 4.0, 440));
}

QString TestStretchRenderer::renderAndWait(StretchRenderer *renderer, const QString &material, double speed)
{
    QSignalSpy finished(renderer, &StretchRenderer::finished);
    QSignalSpy failed(renderer, &StretchRenderer::failed);
    renderer->render(material, speed);
    if (!QTest::qWaitFor([&] { return !finished.isEmpty() || !failed.isEmpty(); }, 60000) || finished.isEmpty())
        return {};
    return finished.first().at(2).toString();
}

void TestStretchRenderer::toneKeepsPitchAndStretchesLength()
{
    StretchRenderer renderer;
    renderer.setCache(m_dir.filePath(QStringLiteral("pitch")));
    QSignalSpy progress(&renderer, &StretchRenderer::progress);
    const QString copy = renderAndWait(&renderer, m_tone, 0.6);
    QVERIFY(!copy.isEmpty());
    QVERIFY(!progress.isEmpty());
    QCOMPARE(TimeMap { 0.6 }.toCopyMs(2400), 4000);
    const double frequency = AudioFixtures::frequencyBetween(copy, 1.0, 4.0);
    QVERIFY2(std::fabs(frequency - 440) <= 4.4, qPrintable(QString::number(frequency)));
    const double seconds = AudioFixtures::decodedSeconds(copy);
    const double expected = 4.0 / 0.6;
    QVERIFY2(std::fabs(seconds - expected) <= 0.005 * expected, qPrintable(QString::number(seconds)));
}

void TestStretchRenderer::cacheHitsAndEvictsLeastRecentlyUsed()
{
    StretchRenderer renderer;
    const QString folder = m_dir.filePath(QStringLiteral("lru"));
    renderer.setCache(folder);
    const QString slowest = renderAndWait(&renderer, m_tone, 0.5);
    const QString seventy = renderAndWait(&renderer, m_tone, 0.7);
    // Room for these two copies, not for a third.
    renderer.setCache(folder, QFileInfo(slowest).size() + QFileInfo(seventy).size());
    // A second request is answered from the cache, without rendering again.
    QSignalSpy progress(&renderer, &StretchRenderer::progress);
    QCOMPARE(renderAndWait(&renderer, m_tone, 0.5), slowest);
    QVERIFY(progress.isEmpty());
    QVERIFY(!renderAndWait(&renderer, m_tone, 0.8).isEmpty());
    // 0.7x was used longest ago; 0.5x was used again just now.
    QVERIFY(renderer.cachedCopy(m_tone, 0.7).isEmpty());
    QCOMPARE(renderer.cachedCopy(m_tone, 0.5), slowest);
    QVERIFY(!renderer.cachedCopy(m_tone, 0.8).isEmpty());
}

void TestStretchRenderer::failures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not audio") << QByteArray("just a transcript\n");
}

void TestStretchRenderer::failures()
{
    QFETCH(QByteArray, content);
    const QString material = m_dir.filePath(QStringLiteral("lesson.mp3"));
    QFile::remove(material);
    if (!content.isEmpty()) {
        QFile file(material);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    StretchRenderer renderer;
    renderer.setCache(m_dir.filePath(QStringLiteral("failures")));
    QSignalSpy failed(&renderer, &StretchRenderer::failed);
    QVERIFY(renderAndWait(&renderer, material, 0.7).isEmpty());
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed.first().at(2).toString().contains(QStringLiteral("lesson.mp3")),
        qPrintable(failed.first().at(2).toString()));
    QVERIFY(QDir(m_dir.filePath(QStringLiteral("failures"))).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestStretchRenderer)
#include "tst_stretchrenderer.moc"
