// frmExpl: the search and its results.

#include "frmExpl.h"

#include "Dialogs.h"
#include "FileSearchJob.h"
#include "KeyedGrid.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "explModule.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QTreeWidget>

namespace
{

constexpr int PathRole = Qt::UserRole;

QString withSeparator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// The folder that holds folder (both with a trailing separator); empty at the top.
QString parentFolder(const QString &folder)
{
    const QString bare = folder.left(folder.size() - 1);
    const qsizetype slash = bare.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : bare.left(slash + 1);
}

} // namespace

void frmExpl::onSearch()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Animation1->show();
    FileGridSetup();
    afterListing();
    const QString chosen = BrowseFolder2->text().trimmed();
    if (!chosen.isEmpty() && QDir(chosen).exists()) {
        const QString folder = withSeparator(chosen);
        hideProperties();
        QString pattern = Combo1->currentText().trimmed();
        if (pattern.isEmpty())
            pattern = txFileName->currentText().trimmed();
        if (pattern.isEmpty())
            Dialogs::instance().message(QStringLiteral("Search condition not given"), QString(),
                                        Dialogs::Icon::None);
        FileSearchJob job(folder, pattern, dxCheckBox1->isChecked());
        runJob(job, tr("Searching"));
        QHash<QString, QTreeWidgetItem *> nodes;
        for (const FileSearchJob::FolderHits &found : job.results()) {
            // A folder's node goes under the nearest folder above it that has a node.
            QString above = found.parent;
            while (above.size() >= folder.size() && !nodes.contains(above))
                above = parentFolder(above);
            QTreeWidgetItem *parent = nodes.value(above, m_findFileNode);
            nodes.insert(found.folder, addSearchNode(parent, found.folder));
            m_searchHits.insert(found.folder, found.hits);
            if (found.folder == folder)
                SearchResultsToGrid(folder, found.hits);
        }
        m_findFileNode->setExpanded(true);
    }
    Animation1->hide();
    QApplication::restoreOverrideCursor();
}

QTreeWidgetItem *frmExpl::addSearchNode(QTreeWidgetItem *parent, const QString &folder)
{
    // A drive root ("C:\" or "/") is shown by its path, any other folder by its own name.
    const QString bare = folder.left(folder.size() - 1);
    const QString caption = folder.size() < 4 ? folder : FileNameOfPath(bare);
    auto *node = new QTreeWidgetItem(parent, {caption});
    node->setData(0, PathRole, folder);
    node->setToolTip(0, QDir::toNativeSeparators(folder));
    QIcon icon = ThemeIcon::get(QStringLiteral("folder"));
    icon.addPixmap(ThemeIcon::get(QStringLiteral("folder-open")).pixmap(16), QIcon::Selected);
    node->setIcon(0, icon);
    parent->setExpanded(true);
    return node;
}

void frmExpl::SearchResultsToGrid(const QString &folder, const std::vector<FileEntry> &hits)
{
    if (folder.isEmpty())
        return;
    FileGridSetup();
    KeyedGridModel *model = grid();
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString prefix = withSeparator(folder);
    model->setRedraw(false);
    for (const FileEntry &hit : hits) {
        if (hit.attributes == 16 || hit.attributes == 18)
            continue;
        const int row = appendEntryRow(hit, prefix + hit.name());
        // Megabytes as a plain number, without a unit.
        model->setText(row, 2, locale.toString(double(hit.size) / 1024.0 / 1024.0, 'g', 15));
        model->setDateKey(row, 3, hit.createdMsecs);
    }
    model->setRedraw(true);
    afterListing();
}
