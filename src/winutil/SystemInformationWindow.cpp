#include "SystemInformationWindow.h"

#include "DesktopEnvironment.h"
#include "ThemeIcon.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

SystemInformationWindow::SystemInformationWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmSysInfo"));
    setWindowTitle(tr("System Information"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("dialog-information")));
    setAttribute(Qt::WA_DeleteOnClose);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvInfo"));
    m_tree->setHeaderLabels({tr("Item"), tr("Value")});
    m_tree->setRootIsDecorated(false);
    m_tree->setAlternatingRowColors(true);
    m_tree->header()->setStretchLastSection(true);

    auto *copy = new QPushButton(ThemeIcon::get(QStringLiteral("edit-copy")),
                                 tr("&Copy to Clipboard"), this);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    auto *reload =
        new QPushButton(ThemeIcon::get(QStringLiteral("view-refresh")), tr("&Refresh"), this);
    reload->setObjectName(QStringLiteral("cmdRefresh"));
    auto *close =
        new QPushButton(ThemeIcon::get(QStringLiteral("window-close")), tr("C&lose"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(copy, &QPushButton::clicked, this, &SystemInformationWindow::copyToClipboard);
    connect(reload, &QPushButton::clicked, this, &SystemInformationWindow::refresh);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(reload);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    resize(640, 520);
    refresh();
}

void SystemInformationWindow::refresh()
{
    m_sections = SystemInformation::gather(DesktopEnvironment::current());
    m_tree->clear();
    for (const SystemInformation::Section &section : std::as_const(m_sections)) {
        auto *heading = new QTreeWidgetItem(m_tree, {section.title});
        QFont bold = heading->font(0);
        bold.setBold(true);
        heading->setFont(0, bold);
        heading->setFirstColumnSpanned(true);
        for (const auto &[label, value] : section.rows)
            new QTreeWidgetItem(m_tree, {QStringLiteral("    ") + label, value});
    }
    m_tree->resizeColumnToContents(0);
}

void SystemInformationWindow::copyToClipboard() const
{
    QGuiApplication::clipboard()->setText(SystemInformation::text(m_sections));
}
