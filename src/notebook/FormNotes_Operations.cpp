// The operations of the notebook on document files: the tree's tools and pop-up menu, the
// document tools over the grid, the add and delete-all panels and the properties save, wired
// to TreeOperations and DocumentOperations, which keep the disk and the catalogue in step.
#include "FormNotes.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DocumentOperations.h"
#include "DocumentText.h"
#include "JobRunner.h"
#include "KeyedGrid.h"
#include "KeyedGridModel.h"
#include "Moduleshortcut.h"
#include "NotesCatalogue.h"
#include "NotesFilterLists.h"
#include "Platform.h"
#include "PrintPreviewRich.h"
#include "PrintSingle.h"
#include "RtfWriter.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"
#include "TreeOperations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

struct Tool {
    const char *id;
    const char *text;
    const char *icon;
};

QToolButton *panelButton(QWidget *parent, const QString &name, const QString &text,
                         const QString &icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(ThemeIcon::get(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

ToolStrip *iconStrip(const QString &name, const Tool *tools, size_t count, int iconSize,
                     QWidget *parent)
{
    auto *strip = new ToolStrip(name, parent);
    strip->setIconSize(QSize(iconSize, iconSize));
    strip->setMovable(false);
    strip->setStyleSheet(QStringLiteral("QToolBar { border: none; background: transparent; }"));
    strip->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (size_t i = 0; i < count; ++i) {
        if (!tools[i].id) {
            strip->addSeparator();
            continue;
        }
        QAction *action = strip->addTool(QLatin1String(tools[i].id), FormNotes::tr(tools[i].text),
                                         QLatin1String(tools[i].icon));
        action->setToolTip(action->text());
    }
    return strip;
}

} // namespace

ToolStrip *FormNotes::buildTreeTools()
{
    static const Tool tools[] = {
        {"ID_NewFolder", "New Folder", "folder-new"},
        {"ID_NewFile", "New Note Here", "document-new"},
        {nullptr, nullptr, nullptr},
        {"ID_Copy", "Copy", "edit-copy"},
        {"ID_Cut", "Cut", "edit-cut"},
        {"ID_Paste", "Paste", "edit-paste"},
        {nullptr, nullptr, nullptr},
        {"ID_Rename", "Rename", "edit-rename"},
        {"ID_Delete", "Delete", "edit-delete"},
    };
    tbTree = iconStrip(QStringLiteral("tbTree"), tools, std::size(tools), 16, this);
    m_treeMenu = new QMenu(this);
    m_treeMenu->setObjectName(QStringLiteral("mnuTree"));
    for (QAction *action : tbTree->actions())
        m_treeMenu->addAction(action);
    connect(tbTree, &ToolStrip::toolClicked, this, &FormNotes::onTreeTool);
    tvwdb->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tvwdb, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (QTreeWidgetItem *node = tvwdb->itemAt(at))
            tvwdb->setCurrentItem(node);
        m_treeMenu->popup(tvwdb->viewport()->mapToGlobal(at));
    });
    connect(tvwdb, &QTreeWidget::currentItemChanged, this, &FormNotes::updateTreeTools);
    m_treeOps = std::make_unique<TreeOperations>(
        *m_catalogue, windowTitle(),
        [this](Job &job, const QString &title) { return runJob(job, title); });
    m_docOps = std::make_unique<DocumentOperations>(*m_catalogue, windowTitle());
    return tbTree;
}

ToolStrip *FormNotes::buildDocumentTools()
{
    static const Tool tools[] = {
        {"AddDocument", "Add a Document by Hand", "list-add"},
        {"EditFolder", "Rename the Document's File", "edit-rename"},
        {"ID_DelDoc", "Delete the Chosen Documents", "edit-delete"},
        {"SelectAll", "Select All", "edit-select-all"},
        {"DeleteAll", "Remove All Links", "edit-clear-all"},
        {nullptr, nullptr, nullptr},
        {"CopytoDesktop", "Copy to Desktop", "user-desktop"},
        {"SendToDesktop", "Shortcut on the Desktop", "emblem-symbolic-link"},
        {"ID_PrintSelected", "Print the Document", "document-print"},
        {nullptr, nullptr, nullptr},
        {"Picture", "View the Picture", "image-x-generic"},
        {"Edit", "Edit in Its Editor", "document-edit"},
    };
    // The document tools sit in the window's tool bar, after its own.
    SSActiveToolBars3 =
        iconStrip(QStringLiteral("SSActiveToolBars3"), tools, std::size(tools), 20, this);
    connect(SSActiveToolBars3, &ToolStrip::toolClicked, this, &FormNotes::onDocumentTool);
    return SSActiveToolBars3;
}

QWidget *FormNotes::buildAddPanel()
{
    Frame2 = new QGroupBox(tr("Add a Document"));
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *form = new QFormLayout(Frame2);
    txtnote = new QLineEdit(Frame2);
    txtnote->setObjectName(QStringLiteral("txtnote"));
    ssDate = new QDateEdit(Frame2);
    ssDate->setObjectName(QStringLiteral("ssDate"));
    ssDate->setCalendarPopup(true);
    txtSerailNo = new QLineEdit(Frame2);
    txtSerailNo->setObjectName(QStringLiteral("txtSerailNo"));
    cboCategory1 = new QComboBox(Frame2);
    cboCategory1->setObjectName(QStringLiteral("cboCategory1"));
    cboCategory1->setEditable(true);
    txtType = new QLineEdit(Frame2);
    txtType->setObjectName(QStringLiteral("txtType"));
    txtpath = new QLineEdit(Frame2);
    txtpath->setObjectName(QStringLiteral("txtpath"));
    auto *browse = panelButton(Frame2, QStringLiteral("cmdBrowsePath"), QStringLiteral("…"),
                               QStringLiteral("document-open"));
    browse->setToolButtonStyle(Qt::ToolButtonIconOnly);
    browse->setToolTip(tr("Choose the document's file"));
    connect(browse, &QToolButton::clicked, this, [this] {
        const QString path = Dialogs::instance().openFileName(
            tr("Document File"), txtpath->text().isEmpty() ? targetFolder() : txtpath->text(),
            QString());
        if (!path.isEmpty())
            txtpath->setText(path);
    });
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(txtpath, 1);
    pathRow->addWidget(browse);
    form->addRow(tr("Name:"), txtnote);
    form->addRow(tr("Date:"), ssDate);
    form->addRow(tr("Serial no:"), txtSerailNo);
    form->addRow(tr("Category:"), cboCategory1);
    form->addRow(tr("Desc:"), txtType);
    form->addRow(tr("File:"), pathRow);
    auto *buttons = new QHBoxLayout;
    auto *save =
        panelButton(Frame2, QStringLiteral("SSCommand6"), tr("Add"), QStringLiteral("list-add"));
    auto *cancel = panelButton(Frame2, QStringLiteral("cmdAddCancel"), tr("Cancel"),
                               QStringLiteral("dialog-cancel"));
    connect(save, &QToolButton::clicked, this, &FormNotes::SSCommand6_Click);
    connect(cancel, &QToolButton::clicked, m_sidePanels, &QWidget::hide);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    return Frame2;
}

QWidget *FormNotes::buildDeleteAllPanel()
{
    fraDeleteAll = new QGroupBox(tr("Remove All Links"));
    fraDeleteAll->setObjectName(QStringLiteral("fraDeleteAll"));
    auto *layout = new QVBoxLayout(fraDeleteAll);
    auto *text = new QLabel(
        QStringLiteral("This will delete all links of text files from Nuvela Notebook Program. "
                       "However original files will remain as it is in there original location."),
        fraDeleteAll);
    text->setObjectName(QStringLiteral("lblDeleteAll"));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *buttons = new QHBoxLayout;
    auto *remove = panelButton(fraDeleteAll, QStringLiteral("CmdRemove"), tr("Remove All"),
                               QStringLiteral("edit-delete"));
    auto *cancel = panelButton(fraDeleteAll, QStringLiteral("cmdRemoveCancel"), tr("Cancel"),
                               QStringLiteral("dialog-cancel"));
    connect(remove, &QToolButton::clicked, this, &FormNotes::CmdRemove_Click);
    connect(cancel, &QToolButton::clicked, m_sidePanels, &QWidget::hide);
    buttons->addStretch(1);
    buttons->addWidget(remove);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return fraDeleteAll;
}

QLayout *FormNotes::buildPropertyButtons()
{
    auto *buttons = new QHBoxLayout;
    CmdEdit = panelButton(nullptr, QStringLiteral("CmdEdit"), tr("Edit"),
                          QStringLiteral("document-edit"));
    CmdSave = panelButton(nullptr, QStringLiteral("CmdSave"), tr("Save"),
                          QStringLiteral("document-save"));
    CmdCancel = panelButton(nullptr, QStringLiteral("CmdCancel"), tr("Cancel"),
                            QStringLiteral("dialog-cancel"));
    CmdSave->hide();
    CmdCancel->hide();
    CmdEdit->setEnabled(false);
    connect(CmdEdit, &QToolButton::clicked, this, &FormNotes::editProperties);
    connect(CmdSave, &QToolButton::clicked, this, &FormNotes::CmdSave_Click);
    connect(CmdCancel, &QToolButton::clicked, this, &FormNotes::CmdCancel_Click);
    buttons->addStretch(1);
    buttons->addWidget(CmdEdit);
    buttons->addWidget(CmdSave);
    buttons->addWidget(CmdCancel);
    return buttons;
}

void FormNotes::updateTreeTools()
{
    const QString path = currentNodePath();
    const bool root = currentNodeTag() == FolderTree::Tag::Main;
    const QString clipboard = m_treeOps->clipboardPath();
    tbTree->tool(QStringLiteral("ID_NewFolder"))->setEnabled(!targetFolder().isEmpty());
    tbTree->tool(QStringLiteral("ID_NewFile"))->setEnabled(!targetFolder().isEmpty());
    tbTree->tool(QStringLiteral("ID_Copy"))->setEnabled(!path.isEmpty());
    for (const char *id : {"ID_Cut", "ID_Rename", "ID_Delete"})
        tbTree->tool(QLatin1String(id))->setEnabled(!path.isEmpty() && !root);
    tbTree->tool(QStringLiteral("ID_Paste"))
        ->setEnabled(!clipboard.isEmpty() && !targetFolder().isEmpty());
}

void FormNotes::updateDocumentTools()
{
    const int row = grid1->currentGridRow();
    const QString docType = row < 0 ? QString() : grid()->text(row, QStringLiteral("DocType"));
    const QString path = row < 0 ? QString() : grid()->text(row, QStringLiteral("path"));
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    SSActiveToolBars3->tool(QStringLiteral("Picture"))
        ->setEnabled(docType == QLatin1String("Multimedia") || docType == QLatin1String("Picture"));
    for (const char *id : {"EditFolder", "SendToDesktop", "Edit"})
        SSActiveToolBars3->tool(QLatin1String(id))->setEnabled(exists);
    SSActiveToolBars3->tool(QStringLiteral("ID_DelDoc"))->setEnabled(row >= 0);
    const bool shown = !m_currentPath.isEmpty() && QFileInfo(m_currentPath).isFile();
    for (const char *id : {"CopytoDesktop", "ID_PrintSelected"})
        SSActiveToolBars3->tool(QLatin1String(id))->setEnabled(shown);
    CmdEdit->setEnabled(!m_propertiesEditing && m_catalogue->byPath(m_currentPath).has_value());
}

void FormNotes::onTreeTool(const QString &id)
{
    const QString path = currentNodePath();
    const FolderTree::Tag tag = currentNodeTag();
    if (id == QLatin1String("ID_NewFolder")) {
        const QString made = m_treeOps->newFolder(targetFolder());
        if (!made.isEmpty())
            reloadTree(made);
    } else if (id == QLatin1String("ID_NewFile")) {
        const QString folder = targetFolder();
        if (!folder.isEmpty() && EnterEditMode(Edit::NewNote))
            m_newPath = QDir(folder).filePath(FileNameOfPath(m_newPath));
    } else if (id == QLatin1String("ID_Copy") || id == QLatin1String("ID_Cut")) {
        if (path.isEmpty() || (id == QLatin1String("ID_Cut") && tag == FolderTree::Tag::Main))
            return;
        m_treeOps->setClipboard(path, id == QLatin1String("ID_Cut") ? TreeOperations::Mode::Cut
                                                                    : TreeOperations::Mode::Copy);
        setStatus(tr("%1 to paste: %2")
                      .arg(id == QLatin1String("ID_Cut") ? tr("Cut") : tr("Copied"),
                           QDir::toNativeSeparators(path)));
        updateTreeTools();
    } else if (id == QLatin1String("ID_Paste")) {
        pasteNode();
    } else if (id == QLatin1String("ID_Rename")) {
        const QString renamed = m_treeOps->rename(
            path, tag, tvwdb->currentItem() ? tvwdb->currentItem()->text(0) : QString());
        if (!renamed.isEmpty()) {
            if (m_currentPath == path || m_currentPath.startsWith(IFBACKSLASH(path)))
                m_currentPath = renamed + m_currentPath.mid(path.size());
            reloadAfter(renamed);
        }
    } else if (id == QLatin1String("ID_Delete")) {
        if (!m_treeOps->remove(path, tag))
            return;
        if (m_currentPath == path || m_currentPath.startsWith(IFBACKSLASH(path)))
            m_currentPath.clear();
        clearPane();
        reloadAfter(QFileInfo(path).path());
    }
}

void FormNotes::pasteNode()
{
    const QString pasted = m_treeOps->paste(targetFolder());
    updateTreeTools();
    if (!pasted.isEmpty())
        reloadAfter(pasted);
}

void FormNotes::reloadAfter(const QString &select)
{
    const QString current = m_currentPath;
    reloadTree(select);
    CmdRefresh_Click();
    finishLoading();
    for (int row = grid()->fixedRows(); row < grid()->rows(); ++row) {
        if (!current.isEmpty() && grid()->text(row, QStringLiteral("path")) == current) {
            grid1->setCurrentGridRow(row);
            return;
        }
    }
    m_currentPath = current;
    if (!current.isEmpty() && QFileInfo(current).isFile())
        ShowDocument(current);
    updateDocumentTools();
}

void FormNotes::onDocumentTool(const QString &id)
{
    if (id == QLatin1String("AddDocument"))
        showAddPanel();
    else if (id == QLatin1String("EditFolder"))
        renameDocument();
    else if (id == QLatin1String("ID_DelDoc"))
        deleteDocuments();
    else if (id == QLatin1String("SelectAll"))
        grid1->selectAll();
    else if (id == QLatin1String("DeleteAll"))
        showSidePanel(fraDeleteAll);
    else if (id == QLatin1String("CopytoDesktop"))
        copyToDesktop();
    else if (id == QLatin1String("SendToDesktop"))
        sendToDesktop();
    else if (id == QLatin1String("ID_PrintSelected"))
        printSelected();
    else if (id == QLatin1String("Picture"))
        viewPicture();
    else if (id == QLatin1String("Edit"))
        editDocument();
}

void FormNotes::showAddPanel()
{
    txtnote->clear();
    ssDate->setDate(QDate::currentDate());
    txtSerailNo->clear();
    txtType->clear();
    txtpath->setText(currentNodeTag() == FolderTree::Tag::File ? currentNodePath() : QString());
    cboCategory1->clear();
    cboCategory1->addItems(NotesFilterLists::read(m_store).categories);
    cboCategory1->setCurrentText(QString());
    m_sidePanels->setCurrentWidget(Frame2);
    m_sidePanels->show();
    txtnote->setFocus();
}

bool FormNotes::SSCommand6_Click()
{
    DocumentOperations::NewDocument fields;
    fields.name = txtnote->text();
    fields.date = ssDate->date();
    fields.serialNo = txtSerailNo->text();
    fields.category = cboCategory1->currentText();
    fields.type = txtType->text();
    fields.path = txtpath->text();
    if (!m_docOps->addDocument(fields))
        return false;
    m_sidePanels->hide();
    CmdRefresh_Click();
    return true;
}

bool FormNotes::CmdRemove_Click()
{
    if (!m_docOps->removeAllLinks())
        return false;
    m_sidePanels->hide();
    m_currentPath.clear();
    clearPane();
    CmdRefresh_Click();
    return true;
}

void FormNotes::renameDocument()
{
    const int row = grid1->currentGridRow();
    const QString path = row < 0 ? QString() : grid()->text(row, QStringLiteral("path"));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const QString renamed =
        m_treeOps->rename(path, FolderTree::Tag::File, QFileInfo(path).fileName());
    if (renamed.isEmpty())
        return;
    m_currentPath = renamed;
    reloadAfter(renamed);
}

void FormNotes::deleteDocuments()
{
    QStringList paths;
    for (const QModelIndex &index : grid1->selectionModel()->selectedRows()) {
        const int row = grid()->gridRow(index);
        if (grid()->isDataRow(row) && !grid()->isRowHeading(row))
            paths << grid()->text(row, QStringLiteral("path"));
    }
    const int current = grid1->currentGridRow();
    if (paths.isEmpty() && current >= 0)
        paths << grid()->text(current, QStringLiteral("path"));
    paths.removeAll(QString());
    paths.removeDuplicates();
    if (m_docOps->deleteDocuments(paths) == 0)
        return;
    if (paths.contains(m_currentPath))
        m_currentPath.clear();
    clearPane();
    reloadAfter(currentNodePath());
}

void FormNotes::copyToDesktop()
{
    QString written;
    const QString shown = rtfText->property("path").toString();
    if (m_pane == Pane::Text && !shown.isEmpty()) {
        // The pane's text in the document's own form: plain for a text file, else rich text.
        const bool plain = DocumentText::kindOf(shown) == DocumentText::Kind::PlainText;
        const QByteArray bytes = plain ? rtfText->document()->toPlainText().toUtf8()
                                       : RtfWriter().write(*rtfText->document());
        written =
            DocumentOperations::saveToDesktop(FileNameOfPath(shown), bytes, shown, windowTitle());
    } else if (!m_currentPath.isEmpty() && QFileInfo(m_currentPath).isFile()) {
        written = DocumentOperations::copyToDesktop(m_currentPath, windowTitle());
    }
    if (!written.isEmpty())
        reloadTree(currentNodePath());
}

void FormNotes::sendToDesktop()
{
    const int row = grid1->currentGridRow();
    const QString path = row < 0 ? QString() : grid()->text(row, QStringLiteral("path"));
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QString name = grid()->text(row, QStringLiteral("DocumentName")).trimmed();
    if (name.isEmpty())
        name = QFileInfo(path).completeBaseName();
    Moduleshortcut module;
    const QString entry = DocumentOperations::sendToDesktop(path, name, module, windowTitle());
    if (entry.isEmpty())
        return;
    setStatus(tr("Shortcut on the Desktop: %1").arg(QDir::toNativeSeparators(entry)));
    reloadTree(currentNodePath());
}

void FormNotes::printSelected()
{
    if (m_currentPath.isEmpty() || !QFileInfo(m_currentPath).isFile())
        return;
    const std::unique_ptr<QTextDocument> report = PrintSingle::report(
        m_currentPath, m_catalogue->byPath(m_currentPath), AppState::instance().national);
    QPrintPreviewDialog *preview =
        PrintPreviewRich(*report, QMarginsF(20, 20, 20, 20), QPageLayout::Portrait, this);
    preview->setWindowTitle(tr("Print %1").arg(FileNameOfPath(m_currentPath)));
}

void FormNotes::viewPicture()
{
    const int row = grid1->currentGridRow();
    if (row < 0)
        return;
    const QString docType = grid()->text(row, QStringLiteral("DocType"));
    if (docType != QLatin1String("Multimedia") && docType != QLatin1String("Picture"))
        return;
    QString picture = grid()->text(row, QStringLiteral("Picfilelink"));
    if (picture.isEmpty() && docType == QLatin1String("Picture"))
        picture = grid()->text(row, QStringLiteral("path"));
    if (picture.isEmpty() || !QFileInfo::exists(picture)) {
        setStatus(tr("The picture of this document is missing: %1").arg(picture));
        return;
    }
    // The suite's own viewer takes the user over, as a sibling program does; without it the
    // desktop's image viewer opens beside the notebook.
    const QString viewer = SiblingProgramPath(QStringLiteral("Nuvela Photo Viewer.exe"));
    Platform &platform = Platform::instance();
    if (viewer.isEmpty()) {
        platform.openDocument(picture);
        return;
    }
    if (platform.startProgram(viewer, {picture}))
        close();
}

void FormNotes::editDocument()
{
    const int row = grid1->currentGridRow();
    if (row < 0)
        return;
    const QString docType = grid()->text(row, QStringLiteral("DocType"));
    const QString path = grid()->text(row, QStringLiteral("path"));
    if (docType == QLatin1String("Picture")) {
        ToolHost *host = ToolHost::instance();
        if (!path.isEmpty() && host &&
            host->openTool(QStringLiteral("photoeditor"), {path, true})) {
            PlaySoundCue(SoundCue::Edit);
            close();
        }
    } else if (docType == QLatin1String("List") ||
               DocumentText::kindOf(path) == DocumentText::Kind::List) {
        EnterEditMode(Edit::Shown);
    } else {
        openFullEditor();
    }
}

void FormNotes::editProperties()
{
    if (!LblDocName->property("id").isValid())
        return;
    setPropertiesEditing(true);
    PlaySoundCue(SoundCue::Edit);
}

void FormNotes::setPropertiesEditing(bool editing)
{
    m_propertiesEditing = editing;
    for (QLineEdit *box : {LblDocName, Text1, TxtAuthor, TxtVersion, LblSNo})
        box->setReadOnly(!editing);
    for (QComboBox *box : {CmbCategory1, CmbFlags, CmbProgress})
        box->setEnabled(editing);
    dtpDueDate->setReadOnly(!editing);
    ChkCurrent->setEnabled(editing);
    CmdEdit->setVisible(!editing);
    CmdSave->setVisible(editing);
    CmdCancel->setVisible(editing);
    lblMode->setText(editing ? tr("Edit Mode") : tr("View Mode"));
    // The document stays the one whose properties are edited until they are saved or not.
    for (QWidget *part :
         {static_cast<QWidget *>(tvwdb), static_cast<QWidget *>(grid1),
          static_cast<QWidget *>(tbTree), static_cast<QWidget *>(m_tools),
          static_cast<QWidget *>(SSActiveToolBars3), static_cast<QWidget *>(SSActiveTabs1),
          static_cast<QWidget *>(SSActiveTabs3), static_cast<QWidget *>(Notes)})
        part->setEnabled(!editing);
    if (editing) {
        SSActiveTabs2->setCurrentIndex(1);
        CmbCategory1->clear();
        CmbCategory1->addItems(NotesFilterLists::read(m_store).categories);
        LblDocName->setFocus();
    }
    CmdEdit->setEnabled(!editing);
}

bool FormNotes::CmdSave_Click()
{
    if (!m_propertiesEditing)
        return false;
    const qint64 id = LblDocName->property("id").toLongLong();
    DocumentOperations::Properties fields;
    fields.name = LblDocName->text();
    fields.category = CmbCategory1->currentText();
    fields.flags = CmbFlags->currentText();
    fields.version = TxtVersion->text();
    fields.current = ChkCurrent->isChecked();
    if (dtpDueDate->date() != dtpDueDate->minimumDate())
        fields.dueDate = dtpDueDate->date();
    fields.type = Text1->text();
    fields.author = TxtAuthor->text();
    fields.serialNo = LblSNo->text();
    fields.progress = CmbProgress->currentText();
    const std::optional<QString> saved = m_docOps->saveProperties(id, fields);
    if (!saved)
        return false;
    setPropertiesEditing(false);
    m_currentPath = *saved;
    reloadAfter(*saved);
    showProperties(*saved);
    return true;
}

void FormNotes::CmdCancel_Click()
{
    if (!m_propertiesEditing)
        return;
    setPropertiesEditing(false);
    PlaySoundCue(SoundCue::Cancel);
    showProperties(m_currentPath);
}
