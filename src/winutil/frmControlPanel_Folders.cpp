// The panel's special folders and folder buttons.
#include "frmControlPanel.h"

#include "Dialogs.h"
#include "ShellBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>

void frmControlPanel::chooseShellFolder(int index)
{
    if (index < 0)
        return;
    m_path->clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const SpecialFolders::Shown shown =
        SpecialFolders::show(m_shellFolders->itemData(index).toInt());
    if (!shown.visible)
        m_browser->hide();
    else if (!shown.folder.isEmpty())
        m_browser->showFolder(shown.folder);
    else
        m_browser->showItems(shown.items);
    m_browser->setVisible(shown.visible);
    m_path->setText(shown.caption);
    QApplication::restoreOverrideCursor();
}

void frmControlPanel::showShellFolder(int csidl)
{
    const int index = m_shellFolders->findData(csidl);
    m_shellFolders->setCurrentIndex(index);
    chooseShellFolder(index);
}

void frmControlPanel::browse(SpecialFolders::Browse folder, const QString &title)
{
    const QString path = SpecialFolders::browseFolder(folder, DesktopEnvironment::current());
    if (path.isEmpty()) {
        Dialogs::instance().message(SpecialFolders::missingText(), title);
        return;
    }
    // The dialog only browses: a file chosen in it is not used.
    Dialogs::instance().openFileName(title, path, tr("All Files|*"));
}
