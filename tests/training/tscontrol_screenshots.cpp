// Saves a picture of each button set of the training bar, for the documentation:
//   scripts/test-env.sh <build>/tests/tscontrol_screenshots docs
#include "tscontrol.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

bool save(TsControl &bar, const QString &folder, const QString &name,
          const std::function<void()> &setUp)
{
    setUp();
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    if (!bar.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zorvaInitResources();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    // A training folder with the first two repeats recorded.
    QTemporaryDir train;
    for (const char *name : {"11.mp3", "12.mp3", "21.mp3"}) {
        QFile file(train.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }

    TsControl bar;
    bar.resize(640, bar.height());
    bar.show();
    if (!QTest::qWaitForWindowExposed(&bar))
        return 1;

    bool ok = save(bar, folder, QStringLiteral("bar-entry.png"), [&] { bar.zeroShow(); });
    ok = save(bar, folder, QStringLiteral("bar-chooser.png"),
              [&] { bar.choiceTrigger(train.path() + QLatin1Char('/')); }) && ok;
    ok = save(bar, folder, QStringLiteral("bar-step.png"), [&] {
        bar.zeroShow();
        bar.beginShow();
        bar.switchStepLabel();
        bar.playTrigger(true);
    }) && ok;
    ok = save(bar, folder, QStringLiteral("bar-practice.png"), [&] {
        for (int step = 2; step <= 7; ++step)
            bar.switchStepLabel();
        bar.endShow();
        bar.fourButtonFalse();
    }) && ok;
    return ok ? 0 : 1;
}
