// Material lists come from the installation, the learner's own files and the content
// server's catalogue; whatever they hold, reading one must end with a verdict, at most
// one message box, and a tree that owns every item it was given.
#include "fuzzapp.h"

#include "xmlparser.h"

#include <QApplication>
#include <QBuffer>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstddef>
#include <cstdint>

namespace {

// The reader reports a broken list in a modal box; answer it from inside its own event
// loop as soon as it is shown, so that a run costs one loop turn instead of a timer.
class BoxCloser : public QObject
{
public:
    int boxes = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                ++boxes;
                QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Ok); },
                                          Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

BoxCloser *boxCloser()
{
    static BoxCloser *closer = [] {
        fuzzGuiApplication();
        auto *c = new BoxCloser;
        qApp->installEventFilter(c);
        return c;
    }();
    return closer;
}

int countItems(QTreeWidget &tree)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
        FUZZ_CHECK((*it)->treeWidget() == &tree);
        ++count;
    }
    return count;
}

// One parse into a tree that already holds an entry, as the library's tabs do when a
// second list is appended: the old entry must survive whatever the new list holds.
void parseInto(bool (*parse)(XmlParser &, const QByteArray &), const QByteArray &bytes)
{
    BoxCloser *closer = boxCloser();
    QTreeWidget tree;
    auto *existing = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("kept")});
    const int boxesBefore = closer->boxes;
    bool ok = false;
    {
        XmlParser parser(&tree);
        ok = parse(parser, bytes);
    }
    const int boxes = closer->boxes - boxesBefore;
    // A refused list is told to the learner once; an accepted one silently.
    FUZZ_CHECK(ok ? boxes == 0 : boxes == 1);
    FUZZ_CHECK(tree.topLevelItem(0) == existing);
    FUZZ_CHECK(countItems(tree) >= 1);
    FUZZ_CHECK(QApplication::activeModalWidget() == nullptr);
}

bool parseAsDevice(XmlParser &parser, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    return parser.parseDevice(&buffer);
}

bool parseAsText(XmlParser &parser, const QByteArray &bytes)
{
    return parser.parseText(QString::fromUtf8(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    // The device path detects the encoding from the bytes; the text path gets a decoded
    // string. Both are used by the library.
    parseInto(parseAsDevice, bytes);
    parseInto(parseAsText, bytes);
    return 0;
}
