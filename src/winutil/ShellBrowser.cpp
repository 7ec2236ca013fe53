#include "ShellBrowser.h"

#include "Moduleshortcut.h"
#include "Platform.h"
#include "ThemeIcon.h"

#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenu>
#include <QStandardItemModel>

namespace
{

constexpr int PathRole = Qt::UserRole + 1;

} // namespace

ShellBrowser::ShellBrowser(QWidget *parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("ShellBrowser"));
    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot);
    m_files->setReadOnly(true);
    m_items = new QStandardItemModel(this);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTreeView::activated, this, &ShellBrowser::openItem);
    connect(this, &QWidget::customContextMenuRequested, this, &ShellBrowser::showMenu);
}

void ShellBrowser::showFolder(const QString &path)
{
    if (model() != m_files)
        setModel(m_files);
    setRootIndex(m_files->setRootPath(path));
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    header()->resizeSection(0, qMax(header()->sectionSize(0), 240));
}

void ShellBrowser::showItems(const QList<SpecialFolders::Item> &items)
{
    m_items->clear();
    m_items->setHorizontalHeaderLabels({tr("Name"), tr("Path")});
    QFileIconProvider icons;
    for (const SpecialFolders::Item &item : items) {
        const QFileInfo info(item.path);
        auto *name = new QStandardItem(icons.icon(info), item.name);
        name->setData(item.path, PathRole);
        m_items->appendRow({name, new QStandardItem(QDir::toNativeSeparators(item.path))});
    }
    // A virtual folder keeps its own order (recent files newest first).
    setSortingEnabled(false);
    setModel(m_items);
    setRootIndex({});
    header()->resizeSection(0, 240);
}

QString ShellBrowser::folder() const
{
    return model() == m_files ? m_files->rootPath() : QString();
}

QStringList ShellBrowser::itemPaths() const
{
    QStringList paths;
    if (!model())
        return paths;
    for (int row = 0; row < model()->rowCount(rootIndex()); ++row)
        paths << pathAt(model()->index(row, 0, rootIndex()));
    return paths;
}

QString ShellBrowser::pathAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    if (model() == m_files)
        return m_files->filePath(index.siblingAtColumn(0));
    return index.siblingAtColumn(0).data(PathRole).toString();
}

void ShellBrowser::openItem(const QModelIndex &index)
{
    const QString path = pathAt(index);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).isDir()) {
        showFolder(path);
        Q_EMIT folderEntered(path);
        return;
    }
    Platform::instance().openDocument(path);
}

QString ShellBrowser::sendToDesktop(const QModelIndex &index)
{
    const QString path = pathAt(index);
    if (path.isEmpty())
        return {};
    return Moduleshortcut().createShortcut(QStringLiteral("..\\..\\Desktop"),
                                           QFileInfo(path).fileName(), path, QString());
}

void ShellBrowser::showMenu(const QPoint &position)
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return;
    QMenu menu(this);
    QAction *open = menu.addAction(ThemeIcon::get(QStringLiteral("document-open")), tr("&Open"));
    QAction *shortcut = menu.addAction(ThemeIcon::get(QStringLiteral("user-desktop")),
                                       tr("Create Shortcut on &Desktop"));
    QAction *chosen = menu.exec(viewport()->mapToGlobal(position));
    if (chosen == open)
        openItem(index);
    else if (chosen == shortcut)
        sendToDesktop(index);
}
