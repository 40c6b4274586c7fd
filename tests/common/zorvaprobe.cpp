// A learner inside the installed programs. Loaded as a Qt generic plugin
// (QT_QPA_GENERIC_PLUGINS=zorvaprobe), it presses the real buttons stage by stage and reports
// each stage reached to the file named by ZORVA_PROBE_REPORT (standard error without one).
//   ZORVA_PROBE_SCRIPT=train      choose a sample, listen, record the first sentence, exit
//   ZORVA_PROBE_SCRIPT=update     accept the offered update; in the updater, answer Cancel
//   ZORVA_PROBE_SCRIPT=downloads  once the online tab lists the catalogue, click every
//                                 material's download and report what its entry shows
#include "clicks.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <phonon/MediaObject>

#include <functional>

namespace {

QWidget *window()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle().startsWith(QLatin1String("ZORVA v")))
            return widget;
    return nullptr;
}

template <typename T = QAbstractButton>
T *shown(const char *name)
{
    for (QWidget *widget : QApplication::allWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return qobject_cast<T *>(widget);
    return nullptr;
}

Phonon::MediaObject *model()
{
    return window() ? Clicks::named<Phonon::MediaObject>(window(), "mediaObject") : nullptr;
}

bool clockShows(const char *text)
{
    return shown<QLabel>("lblCountdown") && shown<QLabel>("lblCountdown")->text() == QLatin1String(text);
}

// Clicks the box's `preferred` button, or its only one; the box's text is the detail.
bool answer(QMessageBox::StandardButton preferred, QString &detail)
{
    QMessageBox *box = Clicks::visibleBox();
    if (!box)
        return false;
    detail = box->text();
    QAbstractButton *button = box->button(preferred);
    return Clicks::click(button ? button : box->buttons().value(0));
}

class Probe : public QObject
{
public:
    Probe()
    {
        if (QCoreApplication::applicationFilePath().endsWith(QLatin1String("update_tmp")))
            add("updater", [] {}, [this] { return answer(QMessageBox::Cancel, m_detail); });
        else if (qgetenv("ZORVA_PROBE_SCRIPT") == "update")
            add("offered", [] {}, [this] { return answer(QMessageBox::Ok, m_detail); });
        else if (qgetenv("ZORVA_PROBE_SCRIPT") == "downloads")
            add("downloads", [] {}, [this] { return downloadAll(); });
        else
            addTraining();
        connect(&m_timer, &QTimer::timeout, this, &Probe::poll);
        m_timer.start(100);
    }

private:
    struct Stage {
        const char *name;
        std::function<void()> enter;
        std::function<bool()> reached;
    };

    void add(const char *name, std::function<void()> enter, std::function<bool()> reached)
    {
        m_stages.append({name, std::move(enter), std::move(reached)});
    }

    void addTraining()
    {
        const auto press = [](const char *name) { return [name] { Clicks::click(shown(name)); }; };
        add("window", [] {}, [this] { return window() && !(m_detail = window()->windowTitle()).isEmpty(); });
        add("chose", [] {}, [this] { return choose(QString::fromLocal8Bit(qgetenv("ZORVA_PROBE_MATERIAL"))); });
        add("playing", press("btnPlayPause"), [this] {
            const bool playing = model() && model()->state() == Phonon::PlayingState;
            m_detail = playing ? model()->currentSource().fileName() : QString();
            return playing;
        });
        add("listened", [] {}, [] { return model()->currentTime() >= 3000 && Clicks::click(shown("btnStop")); });
        add("training", press("btnStart"), [] { return shown("btnRecord"); });
        // "start" ends the countdown; three ticks up are three seconds of voice.
        add("recording", press("btnRecord"), [] { return clockShows("start"); });
        add("spoke", [] {}, [] { return clockShows("00:03"); });
        add("recorded", [] {}, [] { return Clicks::click(shown("btnRecord")); });
        add("exit", [] {}, [] {
            auto *exit = window() ? Clicks::named<QAction>(window(), "exitAction") : nullptr;
            return exit && (exit->trigger(), true);
        });
    }

    bool downloadAll()
    {
        // The online tab need not be in front: its downloads start from a click all the same.
        QTreeWidget *tree = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            tree = tree ? tree : Clicks::named<QTreeWidget>(widget, "online");
        if (!tree || tree->topLevelItemCount() < 2) // the status entry alone so far
            return false;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            if ((*it)->text(2).isEmpty())
                continue;
            emit tree->itemClicked(*it, 1);
            m_detail += QStringLiteral("\n%1 | %2").arg((*it)->text(1), (*it)->toolTip(1));
        }
        return true;
    }

    bool choose(const QString &material)
    {
        auto *tree = shown<QTreeWidget>("local");
        for (QTreeWidgetItemIterator it(tree); tree && *it; ++it) {
            if (!(*it)->text(4).endsWith(material))
                continue;
            tree->scrollToItem(*it);
            const int x = tree->header()->sectionViewportPosition(1) + tree->header()->sectionSize(1) / 2;
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, {x, tree->visualItemRect(*it).center().y()});
            m_detail = (*it)->text(4);
            return shown("btnStart");
        }
        return false;
    }

    void poll()
    {
        if (m_at >= m_stages.size())
            return m_timer.stop();
        const Stage &stage = m_stages.at(m_at);
        if (!m_clock.isValid()) {
            m_clock.start();
            stage.enter();
        }
        if (stage.reached()) {
            report(QLatin1String(stage.name) + QLatin1Char(' ') + m_detail);
            m_detail.clear();
            m_clock.invalidate();
            ++m_at;
        } else if (m_clock.hasExpired(60000)) {
            report(QStringLiteral("failed ") + QLatin1String(stage.name));
            m_timer.stop();
            QCoreApplication::exit(3);
        }
    }

    static void report(const QString &line)
    {
        QFile file(QString::fromLocal8Bit(qgetenv("ZORVA_PROBE_REPORT")));
        if (file.fileName().isEmpty() ? file.open(stderr, QIODevice::WriteOnly) : file.open(QIODevice::Append | QIODevice::Text))
            file.write((QFileInfo(QCoreApplication::applicationFilePath()).fileName() + QStringLiteral(": ")
                        + line + QLatin1Char('\n')).toUtf8());
    }

    QVector<Stage> m_stages;
    int m_at = 0;
    QString m_detail;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace

class ProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "zorvaprobe.json")

public:
    QObject *create(const QString &key, const QString &) override
    {
        // The application deletes what generic plugins create.
        return key.compare(QLatin1String("zorvaprobe"), Qt::CaseInsensitive) == 0 ? new Probe : nullptr;
    }
};

#include "zorvaprobe.moc"
