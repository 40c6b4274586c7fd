// The online catalogue, the material downloads and the import dialog of the library
// panel. These bodies are placeholders until the online-catalogue work fills them in;
// the panel constructs and serves its other three tabs without them.
#include "mater.h"

#include <QTreeWidget>

void Mater::createOnlineParts()
{
}

void Mater::connectOnlineParts()
{
}

void Mater::showImporter()
{
}

void Mater::requestOnlineList(QTreeWidget *tree, const QUrl &url)
{
    Q_UNUSED(tree)
    Q_UNUSED(url)
}

void Mater::onWebDataReady()
{
}

void Mater::sltOnlineXml()
{
}

void Mater::sltNetError(QNetworkReply::NetworkError code)
{
    Q_UNUSED(code)
}

void Mater::on_online_itemClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(item)
    Q_UNUSED(column)
}

void Mater::sltDownManage(const QString &path)
{
    Q_UNUSED(path)
}

void Mater::sltImport(const QString &name, const QString &audioFileName)
{
    Q_UNUSED(name)
    Q_UNUSED(audioFileName)
}
