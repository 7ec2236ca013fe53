#include "FrmRtfEdit.h"

#include "Dialogs.h"
#include "DocumentText.h"
#include "EditorAutosave.h"
#include "EditorCommands.h"
#include "FindReplaceDialog.h"
#include "HelpButton.h"
#include "KeywordDelegate.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "ToolHost.h"
#include "ToolStrip.h"
#include "WindowsColor.h"
#include "WordListPanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace
{

const QString QuitQuestion = QStringLiteral("Quit without saving?");
const QString QuitTitle = QStringLiteral("Nuvela Utility");

} // namespace

FrmRtfEdit::FrmRtfEdit(QWidget *parent)
    : QWidget(parent), m_store(Store::Kind::Data),
      m_catalogue(std::make_unique<NotesCatalogue>(m_store))
{
    setObjectName(QStringLiteral("FrmRtfEdit"));
    setWindowTitle(tr("Edit Document"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("accessories-text-editor")));
    buildWindow();
    m_autosave = new QTimer(this);
    m_autosave->setSingleShot(true);
    m_autosave->setInterval(AutosaveDelayMs);
    connect(m_autosave, &QTimer::timeout, this, &FrmRtfEdit::autosave);
    connect(rtfText->document(), &QTextDocument::contentsChanged, this, [this] {
        updateCharacters();
        // The copy is written once typing pauses, if the text is still unsaved then.
        if (!m_path.isEmpty())
            m_autosave->start();
    });
    resize(1180, 780);
}

FrmRtfEdit::~FrmRtfEdit()
{
    // A window that goes without being closed (the program ends) keeps its unsaved changes.
    if (!m_finished && isModified())
        autosave();
}

void FrmRtfEdit::buildWindow()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    rtfText = new QTextEdit;
    rtfText->setObjectName(QStringLiteral("rtfText"));
    rtfText->setAcceptRichText(true);
    rtfText->installEventFilter(this);
    m_commands = new EditorCommands(rtfText, this);

    TbarEdit = new ToolStrip(QStringLiteral("TbarEdit"), this);
    TbarEdit->setIconSize(QSize(20, 20));
    TbarEdit->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_commands->addTools(TbarEdit, EditorCommands::Bar::Editor);
    auto *spacer = new QWidget(TbarEdit);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    TbarEdit->addWidget(spacer);
    TbarEdit->addWidget(new HelpButton(QStringLiteral("UTL0060"), TbarEdit));
    layout->addWidget(TbarEdit);
    layout->addWidget(buildPalettes());

    auto *body = new QWidget(this);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(8, 6, 8, 6);
    auto *heading = new QHBoxLayout;
    lblFileName = new QLabel(body);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setTextFormat(Qt::PlainText);
    QFont bold = lblFileName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    lblFileName->setFont(bold);
    lblCharacters = new QLabel(body);
    lblCharacters->setObjectName(QStringLiteral("lblCharacters"));
    heading->addWidget(lblFileName, 1);
    heading->addWidget(lblCharacters);
    bodyLayout->addLayout(heading);
    auto *split = new QSplitter(Qt::Horizontal, body);
    split->setChildrenCollapsible(false);
    auto *textSide = new QWidget(split);
    auto *textLayout = new QVBoxLayout(textSide);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->addWidget(rtfText, 1);
    textLayout->addWidget(buildFindPanel());
    split->addWidget(textSide);
    split->addWidget(buildSidePanel());
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({820, 300});
    bodyLayout->addWidget(split, 1);
    bodyLayout->addWidget(buildButtons());
    layout->addWidget(body, 1);

    m_findReplace = new FindReplaceDialog(rtfText, this);
    connect(m_commands, &EditorCommands::findRequested, this, [this] {
        fraFind->show();
        txtFind->setFocus();
    });
    connect(m_commands, &EditorCommands::findReplaceRequested, m_findReplace,
            &FindReplaceDialog::start);
}

QWidget *FrmRtfEdit::buildButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addStretch(1);
    struct Button {
        const char *name;
        const char *text;
        const char *icon;
        void (FrmRtfEdit::*slot)();
    };
    static const Button buttons[] = {
        {"SSCommand1", "Save", "document-save", &FrmRtfEdit::SSCommand1_Click},
        {"SSCommand2", "Cancel", "dialog-cancel", &FrmRtfEdit::SSCommand2_Click},
        {"dxColorBtn1", "Close", "window-close", &FrmRtfEdit::dxColorBtn1_Click},
    };
    for (const Button &button : buttons) {
        auto *push =
            new QPushButton(ThemeIcon::get(QLatin1String(button.icon)), tr(button.text), row);
        push->setObjectName(QLatin1String(button.name));
        push->setMinimumWidth(96);
        connect(push, &QPushButton::clicked, this, button.slot);
        layout->addWidget(push);
    }
    return row;
}

bool FrmRtfEdit::open(const QString &path)
{
    if (path.isEmpty())
        return false;
    m_path = path;
    m_commands->setDocumentPath(path);
    bool loaded = false;
    if (EditorAutosave::exists(path)) {
        if (Dialogs::instance().question(
                tr("%1 has changes that were not saved when the program ended. Restore them?")
                    .arg(QDir::toNativeSeparators(path)),
                windowTitle())) {
            RtfReader().read(EditorAutosave::restore(path), rtfText->document());
            loaded = true;
        } else {
            EditorAutosave::discard(path);
        }
    }
    if (!loaded) {
        bool readable = false;
        const QByteArray bytes = DocumentText::readFile(path, &readable);
        if (!readable) {
            m_path.clear();
            return false;
        }
        if (DocumentText::kindOf(path) == DocumentText::Kind::RichText)
            RtfReader().read(bytes, rtfText->document());
        else
            rtfText->setPlainText(DocumentText::plainOfBytes(bytes));
        rtfText->document()->setModified(false);
    } else {
        rtfText->document()->setModified(true);
    }
    rtfText->setProperty("path", path);
    lblFileName->setText(FileNameOfPath(path));
    setWindowTitle(tr("Edit Document - %1").arg(FileNameOfPath(path)));
    KeywordDelegate::fill(*grdKeyword, m_catalogue->keywordsOf(path));
    m_commands->setBackColour(WindowsColor::toColor(m_catalogue->viewColour(path)));
    showFacts();
    updateCharacters();
    rtfText->setFocus();
    return true;
}

bool FrmRtfEdit::isModified() const
{
    return !m_path.isEmpty() && rtfText->document()->isModified();
}

bool FrmRtfEdit::runTool(const QString &id)
{
    QAction *action = TbarEdit->tool(id);
    if (!action)
        return false;
    action->trigger();
    return true;
}

void FrmRtfEdit::updateCharacters()
{
    lblCharacters->setText(
        tr("No Of Character   -  %1").arg(rtfText->document()->toPlainText().size()));
}

bool FrmRtfEdit::SaveFull()
{
    if (m_path.isEmpty())
        return false;
    const QByteArray rtf = RtfWriter().write(*rtfText->document());
    // A text file stays a text file; every other document is saved as rich text.
    const bool plain =
        QFileInfo(m_path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = plain ? rtfText->document()->toPlainText().toUtf8() : rtf;
    QString error;
    const NotesCatalogue::Saved saved =
        m_catalogue->saveBody(m_path, bytes, rtf, WindowsColor::fromColor(m_commands->backColour()),
                              QDate::currentDate(), &error);
    if (saved == NotesCatalogue::Saved::Nothing) {
        Dialogs::instance().message(tr("The document cannot be saved:\n%1\n\n%2")
                                        .arg(QDir::toNativeSeparators(m_path), error),
                                    windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    rtfText->document()->setModified(false);
    m_autosave->stop();
    EditorAutosave::discard(m_path);
    return true;
}

bool FrmRtfEdit::askQuit()
{
    return Dialogs::instance().question(QuitQuestion, QuitTitle);
}

void FrmRtfEdit::SSCommand1_Click()
{
    if (Dialogs::instance().question(QStringLiteral("Do you want to save this file?"),
                                     QStringLiteral("Nuvela Notebook - Edit Document"))) {
        if (!SaveFull())
            return; // the text stays in the editor
        PlaySoundCue(SoundCue::Save);
    }
    finish(true);
}

void FrmRtfEdit::SSCommand2_Click()
{
    if (!askQuit())
        return;
    PlaySoundCue(SoundCue::Cancel);
    finish(true);
}

void FrmRtfEdit::dxColorBtn1_Click()
{
    if (!askQuit())
        return;
    finish(true);
}

void FrmRtfEdit::finish(bool reopenNotebook)
{
    m_finished = true;
    m_autosave->stop();
    // Saved, or given up by the user's answer: the copy has served.
    if (!m_path.isEmpty())
        EditorAutosave::discard(m_path);
    const QString path = m_path;
    close();
    if (reopenNotebook) {
        if (ToolHost *host = ToolHost::instance())
            host->openTool(QStringLiteral("notebook"), {path, true});
    }
}

void FrmRtfEdit::closeEvent(QCloseEvent *event)
{
    if (m_finished) {
        QWidget::closeEvent(event);
        return;
    }
    // Closed by its frame: unsaved changes are not lost without a word.
    if (isModified() && !askQuit()) {
        event->ignore();
        return;
    }
    m_finished = true;
    m_autosave->stop();
    EditorAutosave::discard(m_path);
    QWidget::closeEvent(event);
    if (ToolHost *host = ToolHost::instance())
        host->openTool(QStringLiteral("notebook"), {m_path, true});
}

void FrmRtfEdit::autosave()
{
    if (isModified())
        EditorAutosave::save(m_path, RtfWriter().write(*rtfText->document()));
}
