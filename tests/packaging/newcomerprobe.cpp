// A learner's first session, played inside the installed programs. Loaded as a Qt generic
// plugin (QT_QPA_GENERIC_PLUGINS=zorvanewcomerprobe), it waits for the real windows, presses
// the real buttons and appends each stage it reaches to the file named by
// ZORVA_PROBE_REPORT, so the package test can follow the trainer and the updater it starts.
//   ZORVA_PROBE_SCRIPT=train   choose a sample, listen to it, record the first sentence, exit
//   ZORVA_PROBE_SCRIPT=update  accept the offered update; in the updater, answer its box
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <phonon/MediaObject>

#include <functional>

namespace {

constexpr int pollMs = 100;
constexpr int stepLimitMs = 60000;

template <typename T>
T *visibleWidget(const QString &name)
{
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *typed = qobject_cast<T *>(widget);
        if (typed && typed->objectName() == name && typed->isVisible())
            return typed;
    }
    return nullptr;
}

QWidget *mainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle().startsWith(QLatin1String("ZORVA v")))
            return widget;
    }
    return nullptr;
}

QMessageBox *visibleBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible())
            return box;
    }
    return nullptr;
}

Phonon::MediaObject *modelPlayer()
{
    QWidget *window = mainWindow();
    return window ? window->findChild<Phonon::MediaObject *>(QStringLiteral("mediaObject")) : nullptr;
}

bool clockShows(const QString &text)
{
    QLabel *clock = visibleWidget<QLabel>(QStringLiteral("lblCountdown"));
    return clock && clock->text() == text;
}

bool click(QAbstractButton *button)
{
    if (!button || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

class NewcomerProbe : public QObject
{
public:
    NewcomerProbe()
    {
        const QByteArray script = qgetenv("ZORVA_PROBE_SCRIPT");
        if (QCoreApplication::applicationFilePath().endsWith(QLatin1String("update_tmp")))
            answerUpdater();
        else if (script == "update")
            acceptUpdate();
        else
            trainFirstSentence();
        connect(&m_timer, &QTimer::timeout, this, &NewcomerProbe::poll);
        m_timer.start(pollMs);
        m_clock.start();
    }

private:
    // A stage: what to do once on entering it, and when it is reached.
    struct Stage {
        QString name;
        std::function<void()> enter;
        std::function<bool()> reached;
    };

    void add(const QString &name, std::function<void()> enter, std::function<bool()> reached)
    {
        m_stages.append({name, std::move(enter), std::move(reached)});
    }

    void trainFirstSentence()
    {
        const QString material = QString::fromLocal8Bit(qgetenv("ZORVA_PROBE_MATERIAL"));
        add(QStringLiteral("window"), [] {}, [this] {
            if (!mainWindow())
                return false;
            m_detail = mainWindow()->windowTitle();
            return true;
        });
        add(QStringLiteral("chose"), [] {}, [this, material] { return chooseMaterial(material); });
        add(QStringLiteral("playing"), [] { click(visibleWidget<QAbstractButton>(QStringLiteral("btnPlayPause"))); },
            [this] {
                Phonon::MediaObject *player = modelPlayer();
                if (!player || player->state() != Phonon::PlayingState)
                    return false;
                m_detail = player->currentSource().fileName();
                return true;
            });
        add(QStringLiteral("listened"), [] {}, [] {
            if (modelPlayer()->currentTime() < 3000)
                return false;
            return click(visibleWidget<QAbstractButton>(QStringLiteral("btnStop")));
        });
        add(QStringLiteral("training"), [] { click(visibleWidget<QAbstractButton>(QStringLiteral("btnStart"))); },
            [] { return visibleWidget<QAbstractButton>(QStringLiteral("btnRecord")) != nullptr; });
        // The clock counts down from 00:03, shows "start", then counts the recording up:
        // three ticks up are at least three seconds of voice.
        add(QStringLiteral("recording"), [] { click(visibleWidget<QAbstractButton>(QStringLiteral("btnRecord"))); },
            [] { return clockShows(QStringLiteral("start")); });
        add(QStringLiteral("spoke"), [] {}, [] { return clockShows(QStringLiteral("00:03")); });
        add(QStringLiteral("recorded"), [] {}, [] { return click(visibleWidget<QAbstractButton>(QStringLiteral("btnRecord"))); });
        exitByMenu();
    }

    void acceptUpdate()
    {
        add(QStringLiteral("offered"), [] {}, [this] { return answerBox(QMessageBox::Ok); });
    }

    void answerUpdater()
    {
        add(QStringLiteral("updater"), [] {}, [this] { return answerBox(QMessageBox::Cancel); });
    }

    void exitByMenu()
    {
        add(QStringLiteral("exit"), [] {}, [] {
            QAction *exit = mainWindow() ? mainWindow()->findChild<QAction *>(QStringLiteral("exitAction")) : nullptr;
            if (exit)
                exit->trigger();
            return exit != nullptr;
        });
    }

    // Clicks the given button of the box on screen, or its only button.
    bool answerBox(QMessageBox::StandardButton preferred)
    {
        QMessageBox *box = visibleBox();
        if (!box)
            return false;
        m_detail = box->text();
        QAbstractButton *button = box->button(preferred);
        if (!button && box->buttons().size() == 1)
            button = box->buttons().constFirst();
        return click(button);
    }

    bool chooseMaterial(const QString &material)
    {
        auto *tree = visibleWidget<QTreeWidget>(QStringLiteral("local"));
        if (!tree)
            return false;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if (!(*it)->text(4).endsWith(material))
                continue;
            tree->scrollToItem(*it);
            const QRect row = tree->visualItemRect(*it);
            const int x = tree->header()->sectionViewportPosition(1) + tree->header()->sectionSize(1) / 2;
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
            m_detail = (*it)->text(4);
            return visibleWidget<QAbstractButton>(QStringLiteral("btnStart")) != nullptr;
        }
        return false;
    }

    void poll()
    {
        if (m_current >= m_stages.size()) {
            m_timer.stop();
            return;
        }
        Stage &stage = m_stages[m_current];
        if (!m_entered) {
            m_entered = true;
            m_clock.restart();
            stage.enter();
        }
        if (stage.reached()) {
            report(stage.name + QLatin1Char(' ') + m_detail);
            m_detail.clear();
            m_entered = false;
            ++m_current;
        } else if (m_clock.hasExpired(stepLimitMs)) {
            report(QStringLiteral("failed ") + stage.name);
            m_timer.stop();
            QCoreApplication::exit(3);
        }
    }

    static void report(const QString &line)
    {
        QFile file(QString::fromLocal8Bit(qgetenv("ZORVA_PROBE_REPORT")));
        if (file.open(QIODevice::Append | QIODevice::Text))
            file.write(QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + ": " + line.toUtf8() + '\n');
    }

    QVector<Stage> m_stages;
    int m_current = 0;
    bool m_entered = false;
    QString m_detail;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace

class NewcomerProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "newcomerprobe.json")

public:
    QObject *create(const QString &key, const QString &) override
    {
        return key.compare(QLatin1String("zorvanewcomerprobe"), Qt::CaseInsensitive) == 0
            ? new NewcomerProbe : nullptr; // the application deletes what generic plugins create
    }
};

#include "newcomerprobe.moc"
