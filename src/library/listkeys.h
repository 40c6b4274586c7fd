#pragma once

class QTreeWidget;

// The library's lists by keyboard: Return on an entry does what a click in its first status
// column does (study, download, open the importer, reload the catalogue), Shift+Return what a
// click in the second does (review); on a category Return opens or closes it.
void chooseWithKeys(QTreeWidget *tree);
