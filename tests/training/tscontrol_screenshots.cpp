// Saves a picture of each button set of the training bar, for the documentation:
//   scripts/test-env.sh <build>/tests/tscontrol_screenshots docs
#include "tscontrol.h"
#include "zorvaresources.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zorvaInitResources();
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QTemporaryDir train; // the first two repeats recorded
    for (const char *name : {"11.mp3", "12.mp3", "21.mp3"})
        QFile(train.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
    TsControl bar;
    bar.resize(640, bar.height());
    bar.show();
    if (!QTest::qWaitForWindowExposed(&bar))
        return 1;
    const auto save = [&](const char *name) {
        QCoreApplication::processEvents();
        return bar.grab().save(folder.filePath(QLatin1String(name)));
    };
    bar.zeroShow();
    bool ok = save("bar-entry.png");
    bar.choiceTrigger(train.path() + QLatin1Char('/'));
    ok = save("bar-chooser.png") && ok;
    bar.zeroShow();
    bar.beginShow();
    bar.switchStepLabel();
    bar.playTrigger(true);
    ok = save("bar-step.png") && ok;
    for (int step = 2; step <= 7; ++step)
        bar.switchStepLabel();
    bar.endShow();
    bar.fourButtonFalse();
    return save("bar-practice.png") && ok ? 0 : 1;
}
