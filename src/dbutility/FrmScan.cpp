#include "FrmScan.h"

#include "ThemeIcon.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

FrmScan::FrmScan(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("FrmScan"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(tr("Scan for Databases"), this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    auto *hint = new QLabel(tr("Every database file in the folder and the folders under it "
                               "becomes a favourite."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QDir::rootPath());
    m_view = new QTreeView(this);
    m_view->setObjectName(QStringLiteral("FolderView"));
    m_view->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_view->hideColumn(column);
    m_view->header()->hide();
    layout->addWidget(m_view, 1);
    m_chosen = new QLabel(this);
    m_chosen->setObjectName(QStringLiteral("lblScanFolder"));
    m_chosen->setWordWrap(true);
    m_chosen->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_chosen);

    auto *buttons = new QHBoxLayout;
    m_scan = new QPushButton(ThemeIcon::get(QStringLiteral("system-search")), tr("Scan"), this);
    m_scan->setObjectName(QStringLiteral("CmdScan"));
    m_scan->setDefault(true);
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CmdScanClose"));
    buttons->addWidget(m_scan);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pb1"));
    m_progress->hide();
    layout->addWidget(m_progress);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblScanStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_chosen->setText(folder()); });
    // Folders are listed as they load: the chosen one is shown once its parent has loaded.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this] {
        if (m_view->currentIndex().isValid())
            m_view->scrollTo(m_view->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    connect(m_scan, &QPushButton::clicked, this, &FrmScan::scanRequested);
    connect(close, &QPushButton::clicked, this, &FrmScan::closeRequested);
}

QString FrmScan::folder() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_folders->filePath(current) : QString();
}

void FrmScan::setFolder(const QString &folder)
{
    const QModelIndex index = m_folders->index(folder);
    m_view->setCurrentIndex(index);
    if (index.isValid())
        m_view->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_chosen->setText(this->folder());
}

void FrmScan::setStatus(const QString &text)
{
    m_status->setText(text);
}
