// Edit Mode of the notebook's view pane: text and list documents edited in place, new notes and
// list sheets, the formatting tools, word completion, autosave copies, and the list tools
// (list save, export, print, Excel file).
#include "FormNotes.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "DocumentOperations.h"
#include "DocumentText.h"
#include "EditableGridProxy.h"
#include "EditorAutosave.h"
#include "EditorCommands.h"
#include "FileExportWindow.h"
#include "FindReplaceDialog.h"
#include "GridExport.h"
#include "GridRows.h"
#include "KeyedGrid.h"
#include "KeyedGridModel.h"
#include "KeywordDelegate.h"
#include "ListDocument.h"
#include "ListPrintWindow.h"
#include "ListSheet.h"
#include "NotebookList.h"
#include "NotesCatalogue.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolStrip.h"
#include "WindowsColor.h"
#include "WordListPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

// A provisional name for a new document, unique to the second.
QString provisionalPath(const QString &folder, const QString &stem, const QString &extension)
{
    return folder + u'/' + stem + u' ' +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss")) + u'.' +
           extension;
}

} // namespace

ToolStrip *FormNotes::buildFormatTools()
{
    SSActiveToolBars2 = new ToolStrip(QStringLiteral("SSActiveToolBars2"), this);
    SSActiveToolBars2->setIconSize(QSize(18, 18));
    SSActiveToolBars2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_commands = new EditorCommands(rtfText, this);
    m_commands->addTools(SSActiveToolBars2, EditorCommands::Bar::Notebook);
    SSActiveToolBars2->addSeparator();
    SSActiveToolBars2->addTool(QStringLiteral("Autotext"), tr("Word List"),
                               QStringLiteral("accessories-dictionary"));
    connect(SSActiveToolBars2, &ToolStrip::toolClicked, this, [this](const QString &id) {
        if (id == QLatin1String("Autotext"))
            autotext();
    });
    m_findReplace = new FindReplaceDialog(rtfText, this);
    connect(m_commands, &EditorCommands::findRequested, this,
            [this] { m_findReplace->start(rtfText->textCursor().selectedText()); });
    connect(m_commands, &EditorCommands::findReplaceRequested, m_findReplace,
            &FindReplaceDialog::start);
    rtfText->installEventFilter(this);
    m_autosave = new QTimer(this);
    m_autosave->setSingleShot(true);
    m_autosave->setInterval(3000);
    connect(m_autosave, &QTimer::timeout, this, &FormNotes::editAutosave);
    connect(rtfText->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_editing)
            return;
        m_autosave->start();
        lblCharacters->setText(
            tr("No Of Character   -  %1").arg(rtfText->document()->toPlainText().size()));
    });
    SSActiveToolBars2->hide();
    SSActiveToolBars2->setEnabled(false);
    return SSActiveToolBars2;
}

QWidget *FormNotes::buildListPane()
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_listTools = new ToolStrip(QStringLiteral("tbList"), pane);
    m_listTools->setIconSize(QSize(18, 18));
    m_listTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_listTools->addTool(QStringLiteral("Saveas"), tr("Save as List"),
                         QStringLiteral("document-save-as"));
    m_listTools->addTool(QStringLiteral("FileExport"), tr("Export"),
                         QStringLiteral("document-export"));
    m_listTools->addTool(QStringLiteral("SaveasXL"), tr("Excel File"),
                         QStringLiteral("x-office-spreadsheet"));
    m_listTools->addTool(QStringLiteral("ListPrint"), tr("Print"),
                         QStringLiteral("document-print"));
    connect(m_listTools, &ToolStrip::toolClicked, this, &FormNotes::onListTool);
    layout->addWidget(m_listTools);
    m_listGrid = new KeyedGridModel(this);
    m_listEdit = new EditableGridProxy(m_listGrid, this);
    GridList = new QTableView(pane);
    GridList->setObjectName(QStringLiteral("GridList"));
    GridList->setModel(m_listEdit);
    GridList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridList->verticalHeader()->hide();
    GridList->verticalHeader()->setDefaultSectionSize(GridList->fontMetrics().height() + 6);
    connect(m_listGrid, &KeyedGridModel::columnsLaidOut, this, &FormNotes::applyListColumns);
    connect(m_listEdit, &EditableGridProxy::cellEdited, this, [this] { m_autosave->stop(); });
    layout->addWidget(GridList, 1);
    return pane;
}

void FormNotes::applyListColumns()
{
    // A list sheet's first column holds its row headings: it looks like the caption row.
    if (m_listSheet && m_listGrid->columns() > 0) {
        const QColor heading = GridList->palette().color(QPalette::Button);
        const bool redraw = m_listGrid->redraw();
        m_listGrid->setRedraw(false);
        for (int row = m_listGrid->fixedRows(); row < m_listGrid->rows(); ++row)
            m_listGrid->setCellBackground(row, 0, heading);
        m_listGrid->setRedraw(redraw);
    }
    const int charWidth = GridList->fontMetrics().averageCharWidth();
    for (int c = 0; c < m_listGrid->columns(); ++c) {
        const GridColumn &column = m_listGrid->columnInfo(c);
        GridList->setColumnHidden(c, column.hidden);
        GridList->setColumnWidth(c, column.widthChars * charWidth + 8);
    }
}

QString FormNotes::editedPath() const
{
    if (m_newDocument)
        return m_newPath;
    return m_pane == Pane::List ? m_currentPath : rtfText->property("path").toString();
}

bool FormNotes::EnterEditMode(Edit what)
{
    if (m_editing)
        return true;
    if (what == Edit::Shown) {
        const bool text = m_pane == Pane::Text && !rtfText->property("path").toString().isEmpty();
        const bool list = m_pane == Pane::List && !m_currentPath.isEmpty();
        if (!text && !list)
            return false;
        m_newDocument = false;
    } else {
        clearPane();
        m_newDocument = true;
        if (what == Edit::NewNote) {
            m_newPath = provisionalPath(AppFolders::inUserFiles(QStringLiteral("Notes Diary")),
                                        QStringLiteral("Note"), QStringLiteral("rtf"));
            m_paneStack->setCurrentWidget(rtfText);
            m_pane = Pane::Text;
            QPalette colours = rtfText->palette();
            colours.setColor(QPalette::Base, WindowsColor::toColor(NotesCatalogue::DefaultColour));
            colours.setColor(QPalette::Text, Qt::black);
            rtfText->setPalette(colours);
            lblDocument->setText(tr("New Note"));
        } else {
            m_newPath = provisionalPath(NotebookList::folder(), QStringLiteral("List"),
                                        QStringLiteral("nvs"));
            ListSheet::ListSheetSetup(*m_listGrid);
            m_listSheet = true;
            m_listEdit->setFixedColumns(1);
            applyListColumns();
            m_paneStack->setCurrentWidget(m_listPane);
            m_pane = Pane::List;
            lblDocument->setText(tr("New List"));
        }
        lblDocInfo->clear();
    }
    m_commands->setDocumentPath(editedPath());
    m_commands->setBackColour(rtfText->palette().color(QPalette::Base));
    rtfText->document()->setModified(false);
    setEditing(true);
    PlaySoundCue(SoundCue::Edit);
    return true;
}

void FormNotes::setEditing(bool editing)
{
    m_editing = editing;
    const bool text = m_pane == Pane::Text;
    rtfText->setReadOnly(!(editing && text));
    m_listEdit->setEditable(editing && !text);
    GridList->setEditTriggers(editing && !text ? QAbstractItemView::AllEditTriggers
                                               : QAbstractItemView::NoEditTriggers);
    SSCommand1->setVisible(editing);
    SSCommand2->setVisible(editing);
    for (QWidget *part :
         {static_cast<QWidget *>(tvwdb), static_cast<QWidget *>(grid1),
          static_cast<QWidget *>(SSActiveTabs3), static_cast<QWidget *>(SSActiveTabs1),
          static_cast<QWidget *>(Notes), static_cast<QWidget *>(m_tools),
          static_cast<QWidget *>(m_sidePanels), static_cast<QWidget *>(tbTree),
          static_cast<QWidget *>(SSActiveToolBars3)})
        part->setEnabled(!editing);
    lblMode->setText(editing ? tr("Edit Mode") : tr("View Mode"));
    SSActiveToolBars2->setVisible(editing && text);
    SSActiveToolBars2->setEnabled(editing && text);
    m_listTools->setEnabled(!editing);
    grdKeyword->setEditTriggers(editing && !m_newDocument ? QAbstractItemView::AllEditTriggers
                                                          : QAbstractItemView::NoEditTriggers);
    if (editing) {
        SSActiveTabs2->setCurrentIndex(0);
        CmdKey->setChecked(true);
        if (text)
            rtfText->setFocus();
    } else {
        CmdKey->setChecked(false);
        m_autosave->stop();
        m_prefix.clear();
    }
}

bool FormNotes::SaveInPlace()
{
    if (!m_editing)
        return false;
    const QString path = editedPath();
    bool saved = false;
    if (m_newDocument)
        saved = saveNewDocument();
    else if (m_pane == Pane::List)
        saved = saveList(path);
    else
        saved = saveText(path);
    if (!saved)
        return false;
    EditorAutosave::discard(path);
    const QString savedPath = editedPath();
    setEditing(false);
    PlaySoundCue(SoundCue::Save);
    // The grid shows the saved document's row with its new dates.
    CmdRefresh_Click();
    finishLoading();
    for (int row = grid()->fixedRows(); row < grid()->rows(); ++row) {
        if (grid()->text(row, QStringLiteral("path")) == savedPath) {
            grid1->setCurrentGridRow(row);
            break;
        }
    }
    return true;
}

bool FormNotes::saveText(const QString &path)
{
    const QByteArray rtf = RtfWriter().write(*rtfText->document());
    const bool plain =
        DocumentText::kindOf(path) == DocumentText::Kind::PlainText &&
        QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = plain ? rtfText->document()->toPlainText().toUtf8() : rtf;
    QString error;
    const NotesCatalogue::Saved saved = m_catalogue->saveBody(
        path, bytes, rtf, WindowsColor::fromColor(rtfText->palette().color(QPalette::Base)),
        QDate::currentDate(), &error);
    if (saved == NotesCatalogue::Saved::Nothing) {
        Dialogs::instance().message(tr("The document cannot be saved:\n%1\n\n%2")
                                        .arg(QDir::toNativeSeparators(path), error),
                                    windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    rtfText->document()->setModified(false);
    return true;
}

bool FormNotes::saveList(const QString &path)
{
    const ListDocument list = NotebookList::fromGrid(*m_listGrid, m_listSheet ? 1 : 0,
                                                     GridList->fontMetrics().averageCharWidth());
    QString error;
    if (m_catalogue->saveList(path, list, QDate::currentDate(), &error) ==
        NotesCatalogue::Saved::Nothing) {
        Dialogs::instance().message(
            tr("The list cannot be saved:\n%1\n\n%2").arg(QDir::toNativeSeparators(path), error),
            windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

bool FormNotes::saveNewDocument()
{
    const bool list = m_pane == Pane::List;
    QDir().mkpath(FolderOfPath(m_newPath));
    QString path = Dialogs::instance().saveFileName(
        list ? tr("Save List") : tr("Save Note"), m_newPath,
        list ? QStringLiteral("(*.nvs)|*.nvs")
             : QStringLiteral("RTF File (*.rtf)|*.rtf|Text File (*.txt)|*.txt"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += list ? QStringLiteral(".nvs") : QStringLiteral(".rtf");
    const bool added = m_catalogue->addCreated(
        path, list ? QStringLiteral("List") : QStringLiteral("Notes"), QDate::currentDate());
    const bool saved = list ? saveList(path) : saveText(path);
    if (!saved) {
        if (added) {
            if (const std::optional<DocumentRecord> row = m_catalogue->byPath(path))
                m_catalogue->removeRow(row->id);
        }
        return false;
    }
    EditorAutosave::discard(m_newPath);
    m_newDocument = false;
    m_currentPath = path;
    if (!list)
        rtfText->setProperty("path", path);
    lblDocument->setText(FileNameOfPath(path));
    return true;
}

void FormNotes::CancelInPlace()
{
    if (!m_editing)
        return;
    EditorAutosave::discard(editedPath());
    setEditing(false);
    if (m_newDocument) {
        m_newDocument = false;
        clearPane();
    }
}

bool FormNotes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rtfText && m_editing && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Delete && key->key() != Qt::Key_Return &&
            key->key() != Qt::Key_Enter)
            onEditKeyReleased(key->key(), key->text());
    }
    return QWidget::eventFilter(watched, event);
}

void FormNotes::onEditKeyReleased(int key, const QString &text)
{
    if (key == Qt::Key_Backspace)
        m_prefix.chop(1);
    else if (!text.isEmpty())
        m_prefix = WordList::nextPrefix(m_prefix, text.at(0));
    else
        return;
    if (m_words->complete(m_prefix) > 0 && !m_prefix.isEmpty())
        SSActiveTabs2->setCurrentWidget(m_words);
}

void FormNotes::autotext()
{
    m_words->load(WordList::autotextStatement(m_prefix));
    SSActiveTabs2->setCurrentWidget(m_words);
    m_words->focusWords();
}

void FormNotes::insertWord(const QString &word)
{
    if (!m_editing || m_pane != Pane::Text)
        return;
    QTextCursor cursor = rtfText->textCursor();
    cursor.clearSelection();
    const int typed = std::min<int>(int(m_prefix.size()), cursor.positionInBlock());
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, typed);
    cursor.insertText(word + u' ');
    rtfText->setTextCursor(cursor);
    m_prefix.clear();
    rtfText->setFocus();
}

void FormNotes::editAutosave()
{
    if (m_editing && m_pane == Pane::Text && rtfText->document()->isModified())
        EditorAutosave::save(editedPath(), RtfWriter().write(*rtfText->document()));
}

void FormNotes::offerAutosaves()
{
    for (const EditorAutosave::Copy &copy : EditorAutosave::pending()) {
        if (m_editing)
            return; // one restored copy at a time; the others wait for the next start
        if (!Dialogs::instance().question(
                tr("%1 has changes that were not saved when the program ended. Restore them?")
                    .arg(QDir::toNativeSeparators(copy.documentPath)),
                windowTitle())) {
            EditorAutosave::discard(copy.documentPath);
            continue;
        }
        const bool exists = QFileInfo::exists(copy.documentPath);
        if (exists) {
            ShowDocument(copy.documentPath);
            m_currentPath = copy.documentPath;
        }
        if (!EnterEditMode(exists ? Edit::Shown : Edit::NewNote))
            continue;
        if (!exists)
            m_newPath = copy.documentPath;
        RtfReader().read(EditorAutosave::restore(copy.documentPath), rtfText->document());
        rtfText->document()->setModified(true);
    }
}

void FormNotes::onListTool(const QString &id)
{
    if (m_pane != Pane::List)
        return;
    const QString name =
        m_currentPath.isEmpty() ? tr("List") : QFileInfo(m_currentPath).completeBaseName();
    if (id == QLatin1String("Saveas")) {
        if (NotebookList::Saveas(*m_listGrid, name, m_store))
            CmdRefresh_Click();
    } else if (id == QLatin1String("FileExport")) {
        FileExportWindow::FileExport(*m_listGrid, name, this);
    } else if (id == QLatin1String("ListPrint")) {
        ListPrintWindow::ListPrint(*m_listGrid, name, this);
    } else if (id == QLatin1String("SaveasXL")) {
        exportListToExcel(name);
    }
}

void FormNotes::exportListToExcel(const QString &name)
{
    const QString folder = GridExport::folder(GridExport::Format::Xlsx);
    QDir().mkpath(folder);
    const QString chosen = Dialogs::instance().saveFileName(
        tr("Excel File"), folder + u'/' + name + QStringLiteral(".xlsx"),
        GridExport::filter(GridExport::Format::Xlsx));
    if (chosen.isEmpty())
        return;
    QString path = chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");
    // The picker asked before the name it returned was replaced, not before one made here.
    if (!DocumentOperations::clearWayFor(path, path == chosen, windowTitle()))
        return;
    QString error;
    if (!GridExport::write(GridExport::Format::Xlsx, path, GridRows(*m_listGrid), name, {}, &error))
        Dialogs::instance().message(
            tr("The file cannot be written:\n%1\n\n%2").arg(QDir::toNativeSeparators(path), error),
            windowTitle(), Dialogs::Icon::Critical);
    else
        setStatus(tr("Saved as %1").arg(QDir::toNativeSeparators(path)));
}
