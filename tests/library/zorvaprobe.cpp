// Loaded into the installed trainer as a generic plugin (QT_QPA_GENERIC_PLUGINS=zorvaprobe):
// once the online tab lists the catalogue, it clicks each material's download cell and
// prints what the entry shows then.
#include <QApplication>
#include <QGenericPlugin>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <cstdio>

class ZorvaProbe : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "zorvaprobe.json")
public:
    QObject *create(const QString &, const QString &) override
    {
        auto *timer = new QTimer;
        connect(timer, &QTimer::timeout, timer, [timer] {
            QTreeWidget *tree = nullptr;
            for (QWidget *window : QApplication::topLevelWidgets())
                tree = tree ? tree : window->findChild<QTreeWidget *>("online");
            if (!tree || tree->topLevelItemCount() < 2) // the status entry alone so far
                return;
            timer->stop();
            for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                if (!(*it)->text(2).isEmpty()) {
                    emit tree->itemClicked(*it, 1);
                    std::fprintf(stderr, "probe: %s | %s\n", qPrintable((*it)->text(1)),
                        qPrintable((*it)->toolTip(1)));
                }
            }
        });
        timer->start(200);
        return timer;
    }
};

#include "zorvaprobe.moc"
