#pragma once

#include "SpecialFolders.h"

#include <QTreeView>

class QFileSystemModel;
class QStandardItemModel;

// The panel's folder view: a real folder through the file system, or the items of a virtual
// folder (the trash, recent files, the volumes) as a list. Double-clicking a folder opens it in
// place (a volume or a folder in the trash too); any other item opens with the desktop's
// application. Its context menu also puts a shortcut to the item on the desktop.
class ShellBrowser : public QTreeView
{
    Q_OBJECT
public:
    explicit ShellBrowser(QWidget *parent = nullptr);

    void showFolder(const QString &path);
    void showItems(const QList<SpecialFolders::Item> &items);
    // The folder shown; "" while a virtual folder's items are shown.
    QString folder() const;
    // Paths of the items shown, in view order (a real folder's only once it has been read).
    QStringList itemPaths() const;
    QString pathAt(const QModelIndex &index) const;

    // Opens the item as a double click does.
    void openItem(const QModelIndex &index);
    // Puts a shortcut to the item on the desktop; the desktop entry made, or "".
    QString sendToDesktop(const QModelIndex &index);

Q_SIGNALS:
    // The view went into another folder (a double click on a folder).
    void folderEntered(const QString &path);

private:
    void showMenu(const QPoint &position);

    QFileSystemModel *m_files = nullptr;
    QStandardItemModel *m_items = nullptr;
};
