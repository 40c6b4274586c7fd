#include "listkeys.h"

#include <QKeyEvent>
#include <QTreeWidget>

namespace {

class ListKeys final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto *tree = static_cast<QTreeWidget *>(watched);
        QTreeWidgetItem *item = tree->currentItem();
        if (!item)
            return false;
        if (item->childCount() > 0)
            item->setExpanded(!item->isExpanded());
        else
            emit tree->itemClicked(item, key->modifiers() & Qt::ShiftModifier ? 2 : 1);
        return true;
    }
};

} // namespace

void chooseWithKeys(QTreeWidget *tree)
{
    tree->setFocusPolicy(Qt::StrongFocus);
    tree->installEventFilter(new ListKeys(tree));
}
