// The notebook's file-system tree tvwdb: "Desktop" and "My Computer", folders listed when they
// are expanded, files shown in the view pane when clicked.
#include "FormNotes.h"

#include "AppState.h"
#include "FolderTree.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

namespace
{

constexpr int KeyRole = Qt::UserRole;
constexpr int TagRole = Qt::UserRole + 1;
constexpr int LoadedRole = Qt::UserRole + 2;

QIcon iconOf(const QString &tag)
{
    if (tag == QLatin1String("File"))
        return ThemeIcon::get(QStringLiteral("text-x-generic"));
    return ThemeIcon::get(QStringLiteral("folder"));
}

// A node keyed by its full path and tagged "Main", "Folder" or "File".
QTreeWidgetItem *makeNode(const QString &caption, const QString &key, const QString &tag)
{
    auto *node = new QTreeWidgetItem({caption});
    node->setData(0, KeyRole, key);
    node->setData(0, TagRole, tag);
    node->setToolTip(0, key);
    node->setIcon(0, iconOf(tag));
    // A folder shows it can open; what is inside is read only when it does.
    if (tag != QLatin1String("File"))
        node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return node;
}

} // namespace

void FormNotes::FileSystemTree()
{
    tvwdb->clear();
    QString desktop = AppState::instance().desktopPath;
    if (desktop.isEmpty())
        desktop = GetSpecialFolder(0);
    QTreeWidgetItem *desktopNode =
        makeNode(tr("Desktop"), desktop, FolderTree::tagText(FolderTree::Tag::Main));
    tvwdb->addTopLevelItem(desktopNode);
    desktopNode->setIcon(0, ThemeIcon::get(QStringLiteral("user-desktop")));
    if (!desktop.isEmpty()) {
        expandNode(desktopNode);
        desktopNode->setExpanded(true);
    }
    QTreeWidgetItem *computer =
        makeNode(tr("My Computer"), QString(), FolderTree::tagText(FolderTree::Tag::Main));
    tvwdb->addTopLevelItem(computer);
    computer->setIcon(0, ThemeIcon::get(QStringLiteral("computer")));
    computer->setData(0, LoadedRole, true);
    for (const FolderTree::Entry &entry :
         FolderTree::myComputer(FolderTree::mountedVolumes(), QDir::homePath())) {
        QTreeWidgetItem *node =
            makeNode(entry.caption, entry.path, FolderTree::tagText(FolderTree::Tag::Folder));
        computer->addChild(node);
        node->setIcon(0, ThemeIcon::get(entry.path == QDir::homePath()
                                            ? QStringLiteral("user-home")
                                            : QStringLiteral("drive-harddisk")));
    }
    computer->setExpanded(true);
}

void FormNotes::expandNode(QTreeWidgetItem *item)
{
    if (!item || item->data(0, LoadedRole).toBool())
        return;
    const QString folder = item->data(0, KeyRole).toString();
    if (folder.isEmpty())
        return;
    item->setData(0, LoadedRole, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool readable = true;
    const std::vector<FolderTree::Entry> entries = FolderTree::list(folder, &readable);
    QList<QTreeWidgetItem *> children;
    children.reserve(qsizetype(entries.size()));
    for (const FolderTree::Entry &entry : entries)
        children << makeNode(entry.caption, entry.path, FolderTree::tagText(entry.tag));
    item->addChildren(children);
    if (children.isEmpty())
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    QApplication::restoreOverrideCursor();
    if (!readable)
        setStatus(tr("The folder cannot be read: %1").arg(folder));
}

void FormNotes::onNodeClicked(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString key = item->data(0, KeyRole).toString();
    const QString tag = item->data(0, TagRole).toString();
    if (tag == QLatin1String("File")) {
        m_currentPath = key;
        ShowDocument(key);
    } else if (!key.isEmpty()) {
        clearPane();
        showFolderFacts(key);
    }
}

QString FormNotes::currentNodePath() const
{
    const QTreeWidgetItem *node = tvwdb->currentItem();
    return node ? node->data(0, KeyRole).toString() : QString();
}

FolderTree::Tag FormNotes::currentNodeTag() const
{
    const QTreeWidgetItem *node = tvwdb->currentItem();
    const QString tag = node ? node->data(0, TagRole).toString() : QString();
    if (tag == FolderTree::tagText(FolderTree::Tag::File))
        return FolderTree::Tag::File;
    if (tag == FolderTree::tagText(FolderTree::Tag::Folder))
        return FolderTree::Tag::Folder;
    return FolderTree::Tag::Main;
}

QString FormNotes::targetFolder() const
{
    const QString path = currentNodePath();
    if (path.isEmpty())
        return {};
    return currentNodeTag() == FolderTree::Tag::File ? QFileInfo(path).path() : path;
}

bool FormNotes::selectTreePath(const QString &path)
{
    // The root nearest to the path: the Desktop, or a volume or the home folder under
    // "My Computer", whichever holds it most closely.
    const auto holds = [&path](const QString &key) {
        return !key.isEmpty() && (path == key || path.startsWith(IFBACKSLASH(key)));
    };
    QTreeWidgetItem *node = nullptr;
    QList<QTreeWidgetItem *> roots;
    for (int i = 0; i < tvwdb->topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = tvwdb->topLevelItem(i);
        roots << top;
        for (int c = 0; c < top->childCount(); ++c)
            roots << top->child(c);
    }
    for (QTreeWidgetItem *root : roots) {
        const QString key = root->data(0, KeyRole).toString();
        if (holds(key) && (!node || key.size() > node->data(0, KeyRole).toString().size()))
            node = root;
    }
    if (!node)
        return false;
    while (node->data(0, KeyRole).toString() != path) {
        expandNode(node);
        QTreeWidgetItem *next = nullptr;
        for (int c = 0; c < node->childCount() && !next; ++c) {
            if (holds(node->child(c)->data(0, KeyRole).toString()))
                next = node->child(c);
        }
        if (!next)
            break;
        node->setExpanded(true);
        node = next;
    }
    tvwdb->setCurrentItem(node);
    tvwdb->scrollToItem(node);
    return node->data(0, KeyRole).toString() == path;
}

void FormNotes::reloadTree(const QString &select)
{
    FileSystemTree();
    if (!select.isEmpty())
        selectTreePath(select);
    updateTreeTools();
}
