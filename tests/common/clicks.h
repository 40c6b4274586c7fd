#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// Real clicks on real widgets, found by their object names, as a learner would press them.
namespace Clicks {

// A learner cannot press what is hidden or disabled: false instead of a click then.
inline bool click(QAbstractButton *button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

template <typename T = QAbstractButton>
T *named(const QObject *root, const char *name)
{
    return root->findChild<T *>(QLatin1String(name));
}

inline bool clickNamed(const QObject *root, const char *name)
{
    return click(named(root, name));
}

// The first visible message box, shown modal or not, or null.
inline QMessageBox *visibleBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs the application's loop with `action` queued first: the loop's exit code, or 99 when
// nothing ended it within fallbackMs.
template <typename Action> int runLoop(int fallbackMs, Action action)
{
    QTimer::singleShot(0, qApp, action);
    QTimer fallback; // gone with the loop: it must not end a later, nested one
    QObject::connect(&fallback, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
    fallback.start(fallbackMs);
    return QCoreApplication::exec();
}

} // namespace Clicks
