#include "EditorCommands.h"

#include "AppFolders.h"
#include "AppState.h"
#include "Dialogs.h"
#include "DocImport.h"
#include "DocumentOperations.h"
#include "DocumentText.h"
#include "EditorText.h"
#include "Platform.h"
#include "PrintPreviewRich.h"
#include "RichTextPages.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "SharedRoutines.h"
#include "ToolStrip.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextList>
#include <QUuid>

namespace
{

struct Tool {
    const char *id;
    const char *text;
    const char *icon;
};

// The tools of both bars in their order; nullptr ids separate groups. Stamps come in the
// editor's spelling and are renamed for the notebook's bar.
const Tool Tools[] = {
    {"Cut", "Cut", "edit-cut"},
    {"Copy", "Copy", "edit-copy"},
    {"Paste", "Paste", "edit-paste"},
    {nullptr, nullptr, nullptr},
    {"Bold", "Bold", "format-text-bold"},
    {"Italic", "Italic", "format-text-italic"},
    {"Underline", "Underline", "format-text-underline"},
    {"Strikeout", "Strikeout", "format-text-strikethrough"},
    {nullptr, nullptr, nullptr},
    {"AlignLeft", "Align Left", "format-justify-left"},
    {"AlignCenter", "Center", "format-justify-center"},
    {"AlignRight", "Align Right", "format-justify-right"},
    {"Bullet", "Bullets", "format-list-unordered"},
    {nullptr, nullptr, nullptr},
    {"Font", "Font", "preferences-desktop-font"},
    {"Forecolor", "Text Colour", "format-text-color"},
    {"Backcolor", "Page Colour", "format-fill-color"},
    {"LowerCase", "lower case", "format-text-lowercase"},
    {"UpperCase", "UPPER CASE", "format-text-uppercase"},
    {"InvertSelection", "iNVERT cASE", "format-text-capitalize"},
    {nullptr, nullptr, nullptr},
    {"Find", "Find", "edit-find"},
    {"FindReplace", "Replace", "edit-find-replace"},
    {nullptr, nullptr, nullptr},
    {"Short", "Date (short)", "x-office-calendar"},
    {"Medium", "Date", "x-office-calendar"},
    {"Long", "Date (long)", "x-office-calendar"},
    {"ShortT", "Time (short)", "appointment-new"},
    {"MediumT", "Time", "appointment-new"},
    {"LongT", "Time (long)", "appointment-new"},
    {nullptr, nullptr, nullptr},
    {"TextImport", "Import Text", "text-x-generic"},
    {"RTFImport", "Import RTF", "x-office-document"},
    {"DocImport", "Import DOC", "x-office-document"},
    {"Picture", "Picture", "insert-image"},
    {nullptr, nullptr, nullptr},
    {"PrintPreview", "Print Preview", "document-print-preview"},
    {"PrintPdf", "Print to PDF", "application-pdf"},
    {"SaveasWord", "Open as Word Document", "document-export"},
    {"SavetoDesktop", "Copy to Desktop", "user-desktop"},
};

// The notebook's bar names the stamps the other way round.
QString notebookId(const QString &id)
{
    static const QHash<QString, QString> renamed = {
        {QStringLiteral("MediumT"), QStringLiteral("TMedium")},
        {QStringLiteral("LongT"), QStringLiteral("TLong")},
        {QStringLiteral("ShortT"), QStringLiteral("TShort")},
        {QStringLiteral("Medium"), QStringLiteral("DMedium")},
        {QStringLiteral("Long"), QStringLiteral("DLong")},
        {QStringLiteral("Short"), QStringLiteral("DShort")}};
    return renamed.value(id, id);
}

QString editorId(const QString &id)
{
    static const QHash<QString, QString> renamed = {
        {QStringLiteral("TMedium"), QStringLiteral("MediumT")},
        {QStringLiteral("TLong"), QStringLiteral("LongT")},
        {QStringLiteral("TShort"), QStringLiteral("ShortT")},
        {QStringLiteral("DMedium"), QStringLiteral("Medium")},
        {QStringLiteral("DLong"), QStringLiteral("Long")},
        {QStringLiteral("DShort"), QStringLiteral("Short")}};
    return renamed.value(id, id);
}

// Pictures wider than this are shown at this width in the text (pixels).
constexpr int PictureWidth = 560;

} // namespace

EditorCommands::EditorCommands(QTextEdit *pane, QWidget *window)
    : QObject(window), m_pane(pane), m_window(window)
{
    // Text that names no font is written with the document's: a family the system really has,
    // not an alias ("Sans Serif") that other programs do not know.
    QFont base = pane->document()->defaultFont();
    base.setFamilies({QFontInfo(base).family()});
    pane->document()->setDefaultFont(base);
}

QStringList EditorCommands::fonts()
{
    return {QStringLiteral("Arial"),
            QStringLiteral("Courier New"),
            QStringLiteral("MS Serif"),
            QStringLiteral("MS Sans Serif"),
            QStringLiteral("Times New Roman"),
            QStringLiteral("Tempus Sans ITC"),
            QStringLiteral("Verdana"),
            QStringLiteral("Lucida Console"),
            QStringLiteral("Lucida Handwriting")};
}

void EditorCommands::addTools(ToolStrip *strip, Bar bar)
{
    m_fontList = new QComboBox(strip);
    m_fontList->setObjectName(QStringLiteral("Id_Font"));
    m_fontList->setEditable(true);
    m_fontList->addItems(fonts());
    m_fontList->setCurrentText(QStringLiteral("MS Serif"));
    m_fontList->setMinimumContentsLength(14);
    m_fontList->setToolTip(tr("Font"));
    m_sizeList = new QComboBox(strip);
    m_sizeList->setObjectName(QStringLiteral("Id_FontSize"));
    m_sizeList->setEditable(true);
    if (bar == Bar::Editor)
        m_sizeList->addItem(QStringLiteral("8"));
    for (const char *size : {"10", "12", "14", "16", "18", "20"})
        m_sizeList->addItem(QLatin1String(size));
    m_sizeList->setToolTip(tr("Font size"));
    strip->addWidget(m_fontList);
    strip->addWidget(m_sizeList);
    connect(m_fontList, &QComboBox::textActivated, this, &EditorCommands::applyFontFamily);
    // The lists show the font at the caret.
    connect(m_pane, &QTextEdit::currentCharFormatChanged, this,
            [this](const QTextCharFormat &format) {
                const QFont font = format.font();
                m_fontList->setCurrentText(QFontInfo(font).family());
                m_sizeList->setCurrentText(QString::number(font.pointSizeF()));
            });
    connect(m_sizeList, &QComboBox::textActivated, this,
            [this](const QString &text) { applyFontSize(text.toDouble()); });
    strip->addSeparator();
    for (const Tool &tool : Tools) {
        if (!tool.id) {
            strip->addSeparator();
            continue;
        }
        const QString id =
            bar == Bar::Notebook ? notebookId(QLatin1String(tool.id)) : QLatin1String(tool.id);
        QAction *action = strip->addTool(id, tr(tool.text), QLatin1String(tool.icon));
        action->setToolTip(tr(tool.text));
    }
    connect(strip, &ToolStrip::toolClicked, this, [this](const QString &id) { run(id); });
}

bool EditorCommands::run(const QString &given)
{
    const QString id = editorId(given);
    if (id == QLatin1String("Copy"))
        m_pane->copy();
    else if (id == QLatin1String("Cut"))
        m_pane->cut();
    else if (id == QLatin1String("Paste"))
        m_pane->paste();
    else if (id == QLatin1String("Bold") || id == QLatin1String("Italic") ||
             id == QLatin1String("Underline") || id == QLatin1String("Strikeout"))
        toggleStyle(id);
    else if (id == QLatin1String("AlignLeft"))
        m_pane->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    else if (id == QLatin1String("AlignCenter"))
        m_pane->setAlignment(Qt::AlignHCenter);
    else if (id == QLatin1String("AlignRight"))
        m_pane->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    else if (id == QLatin1String("Bullet"))
        toggleBullet();
    else if (id == QLatin1String("Font"))
        chooseFont();
    else if (id == QLatin1String("LowerCase") || id == QLatin1String("UpperCase") ||
             id == QLatin1String("InvertSelection"))
        changeCase(id);
    else if (id == QLatin1String("Forecolor") || id == QLatin1String("Backcolor")) {
        bool ok = false;
        const bool text = id == QLatin1String("Forecolor");
        const QColor chosen =
            Dialogs::instance().color(text ? m_pane->textColor() : m_backColour, &ok);
        if (ok && text)
            applyTextColour(chosen);
        else if (ok)
            setBackColour(chosen);
    } else if (id == QLatin1String("Find"))
        Q_EMIT findRequested();
    else if (id == QLatin1String("FindReplace"))
        Q_EMIT findReplaceRequested(m_pane->textCursor().selectedText());
    else if (id.endsWith(u'T') || id == QLatin1String("Medium") || id == QLatin1String("Long") ||
             id == QLatin1String("Short"))
        appendStamp(id);
    else if (id.endsWith(QLatin1String("Import")))
        import(id);
    else if (id == QLatin1String("Picture"))
        insertPicture();
    else if (id == QLatin1String("PrintPreview"))
        PrintPreviewRich(*m_pane->document(), QMarginsF(20, 20, 20, 20), QPageLayout::Portrait,
                         m_window);
    else if (id == QLatin1String("PrintPdf"))
        printToPdf();
    else if (id == QLatin1String("SaveasWord"))
        saveAsWord();
    else if (id == QLatin1String("SavetoDesktop"))
        saveToDesktop();
    else
        return false;
    return true;
}

void EditorCommands::setBackColour(const QColor &colour)
{
    m_backColour = colour;
    QPalette colours = m_pane->palette();
    colours.setColor(QPalette::Base, colour);
    colours.setColor(QPalette::Text, Qt::black);
    m_pane->setPalette(colours);
    Q_EMIT backColourChanged(colour);
}

void EditorCommands::applyFontFamily(const QString &family)
{
    if (family.trimmed().isEmpty())
        return;
    QTextCharFormat format;
    format.setFontFamilies({family.trimmed()});
    m_pane->mergeCurrentCharFormat(format);
}

void EditorCommands::applyFontSize(qreal points)
{
    if (points <= 0 || points > 1638)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    m_pane->mergeCurrentCharFormat(format);
}

void EditorCommands::applyTextColour(const QColor &colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    m_pane->mergeCurrentCharFormat(format);
}

void EditorCommands::toggleStyle(const QString &id)
{
    const QTextCharFormat current = m_pane->currentCharFormat();
    QTextCharFormat format;
    if (id == QLatin1String("Bold"))
        format.setFontWeight(current.fontWeight() > QFont::Medium ? QFont::Normal : QFont::Bold);
    else if (id == QLatin1String("Italic"))
        format.setFontItalic(!current.fontItalic());
    else if (id == QLatin1String("Underline"))
        format.setFontUnderline(!current.fontUnderline());
    else
        format.setFontStrikeOut(!current.fontStrikeOut());
    m_pane->mergeCurrentCharFormat(format);
}

void EditorCommands::toggleBullet()
{
    QTextCursor cursor = m_pane->textCursor();
    cursor.beginEditBlock();
    if (cursor.currentList()) {
        // Every paragraph of the selection leaves its list.
        const QTextBlock last = m_pane->document()->findBlock(cursor.selectionEnd());
        for (QTextBlock block = m_pane->document()->findBlock(cursor.selectionStart());
             block.isValid(); block = block.next()) {
            if (QTextList *own = block.textList())
                own->remove(block);
            QTextBlockFormat plain = block.blockFormat();
            plain.setIndent(0);
            QTextCursor(block).setBlockFormat(plain);
            if (block == last)
                break;
        }
    } else {
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        cursor.createList(format);
    }
    cursor.endEditBlock();
}

void EditorCommands::chooseFont()
{
    bool ok = false;
    const QFont chosen = Dialogs::instance().font(m_pane->currentFont(), &ok);
    if (!ok)
        return;
    QTextCharFormat format;
    format.setFontFamilies({chosen.family()});
    if (chosen.pointSizeF() > 0)
        format.setFontPointSize(chosen.pointSizeF());
    format.setFontItalic(chosen.italic());
    format.setFontWeight(chosen.bold() ? QFont::Bold : QFont::Normal);
    m_pane->mergeCurrentCharFormat(format);
}

void EditorCommands::changeCase(const QString &id)
{
    const EditorText::Case kind = id == QLatin1String("LowerCase")   ? EditorText::Case::Lower
                                  : id == QLatin1String("UpperCase") ? EditorText::Case::Upper
                                                                     : EditorText::Case::Invert;
    QTextCursor selection = m_pane->textCursor();
    if (!selection.hasSelection())
        return;
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    // Run by run from the end, so each keeps its format and a change of length (ß to SS) moves
    // nothing still to come.
    QList<QPair<int, int>> runs;
    for (QTextBlock block = m_pane->document()->findBlock(start);
         block.isValid() && block.position() < end; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to)
                runs.append({from, to});
        }
    }
    QTextCursor cursor(m_pane->document());
    cursor.beginEditBlock();
    int newEnd = end;
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        cursor.setPosition(run->first);
        cursor.setPosition(run->second, QTextCursor::KeepAnchor);
        const QString text = cursor.selectedText();
        const QString changed = EditorText::changeCase(text, kind);
        if (changed == text)
            continue;
        // The format of the run's first character: a cursor reports the one before it.
        QTextCursor at(m_pane->document());
        at.setPosition(run->first + 1);
        cursor.insertText(changed, at.charFormat());
        newEnd += int(changed.size() - text.size());
    }
    cursor.endEditBlock();
    selection.setPosition(start);
    selection.setPosition(newEnd, QTextCursor::KeepAnchor);
    m_pane->setTextCursor(selection);
}

void EditorCommands::appendStamp(const QString &id)
{
    const bool time = id.endsWith(u'T');
    const QString kindName = time ? id.chopped(1) : id;
    const EditorText::Stamp kind = kindName == QLatin1String("Long")    ? EditorText::Stamp::Long
                                   : kindName == QLatin1String("Short") ? EditorText::Stamp::Short
                                                                        : EditorText::Stamp::Medium;
    const QString stamp =
        time ? EditorText::timeStamp(kind, QTime::currentTime())
             : EditorText::dateStamp(kind, QDate::currentDate(), AppState::instance().national);
    QTextCursor cursor = m_pane->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(stamp);
    m_pane->setTextCursor(cursor);
}

void EditorCommands::import(const QString &id)
{
    const QString filter =
        id == QLatin1String("TextImport")  ? QStringLiteral("Text File (*.txt)|*.txt")
        : id == QLatin1String("RTFImport") ? QStringLiteral("RTF File (*.rtf)|*.rtf")
                                           : QStringLiteral("Doc File (*.Doc)|*.Doc;*.doc");
    const QString start = m_path.isEmpty() ? AppFolders::userFilesRoot() : FolderOfPath(m_path);
    const QString path = Dialogs::instance().openFileName(tr("Import"), start, filter);
    if (path.isEmpty())
        return;
    QTextDocument loaded;
    bool readable = true;
    if (id == QLatin1String("RTFImport")) {
        const QByteArray bytes = DocumentText::readFile(path, &readable);
        RtfReader().read(bytes, &loaded);
    } else if (id == QLatin1String("DocImport")) {
        const DocImport::Result doc = DocImport::read(path);
        readable = doc.readable;
        if (readable && doc.fromRawBytes)
            Dialogs::instance().message(
                QStringLiteral("Adding of *.doc file will be done along with special characters as "
                               "used by MS-word to store formating data. These may be not viewable "
                               "text file"),
                QString(), Dialogs::Icon::Information);
        loaded.setPlainText(doc.text);
    } else {
        loaded.setPlainText(DocumentText::readPlainFile(path, &readable));
    }
    if (!readable) {
        Dialogs::instance().message(
            tr("The file cannot be read:\n%1").arg(QDir::toNativeSeparators(path)), QString(),
            Dialogs::Icon::Warning);
        return;
    }
    QTextCursor cursor = m_pane->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral(" "));
    cursor.insertFragment(QTextDocumentFragment(&loaded));
    cursor.endEditBlock();
    m_pane->setTextCursor(cursor);
}

void EditorCommands::insertPicture()
{
    const QString path = Dialogs::instance().openFileName(
        tr("Picture"), AppFolders::inUserFiles(QStringLiteral("Photos")),
        QStringLiteral("Pictures (*.png;*.jpg;*.jpeg;*.bmp;*.gif)|*.png;*.jpg;*.jpeg;*.bmp;*.gif"));
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // A photo of many megapixels is kept at a size a document needs.
    const QSize size = reader.size();
    if (size.isValid() && std::max(size.width(), size.height()) > 2400)
        reader.setScaledSize(size.scaled(2400, 2400, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (image.isNull()) {
        Dialogs::instance().message(
            tr("The picture cannot be read:\n%1").arg(QDir::toNativeSeparators(path)), QString(),
            Dialogs::Icon::Warning);
        return;
    }
    const QUrl name(QStringLiteral("nvpicture:") +
                    QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_pane->document()->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    const qreal width = std::min<qreal>(image.width(), PictureWidth);
    format.setWidth(width);
    format.setHeight(image.height() * width / image.width());
    m_pane->textCursor().insertImage(format);
}

void EditorCommands::printToPdf()
{
    const QString folder = AppFolders::inUserFiles(QStringLiteral("Exported Files\\PDF"));
    QDir().mkpath(folder);
    const QString name =
        m_path.isEmpty() ? QStringLiteral("Document") : QFileInfo(m_path).completeBaseName();
    QString path = Dialogs::instance().saveFileName(tr("Print to PDF"),
                                                    folder + u'/' + name + QStringLiteral(".pdf"),
                                                    QStringLiteral("PDF File (*.pdf)|*.pdf"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    const QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                           QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QString error;
    if (!RichTextPages::printToPdf(*m_pane->document(), page, path, &error))
        Dialogs::instance().message(
            tr("The file cannot be written:\n%1\n\n%2").arg(QDir::toNativeSeparators(path), error),
            QString(), Dialogs::Icon::Critical);
}

void EditorCommands::saveAsWord()
{
    const QString folder = AppFolders::inUserFiles(QStringLiteral("Exported Files\\rtf"));
    QDir().mkpath(folder);
    const QString name =
        m_path.isEmpty() ? QStringLiteral("Document") : QFileInfo(m_path).completeBaseName();
    const QString target = folder + u'/' + name + QStringLiteral(".rtf");
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(RtfWriter().write(*m_pane->document())) < 0 || !file.commit()) {
        Dialogs::instance().message(
            tr("The file cannot be written:\n%1").arg(QDir::toNativeSeparators(target)), QString(),
            Dialogs::Icon::Critical);
        return;
    }
    Platform::instance().openDocument(target);
}

void EditorCommands::saveToDesktop()
{
    const QString name = m_path.isEmpty() ? QStringLiteral("Document.rtf") : FileNameOfPath(m_path);
    // The shown text in the document's own form: rich text, or plain text for a text file.
    const bool plain = DocumentText::kindOf(name) == DocumentText::Kind::PlainText;
    const QByteArray bytes =
        plain ? m_pane->document()->toPlainText().toUtf8() : RtfWriter().write(*m_pane->document());
    DocumentOperations::saveToDesktop(name, bytes, m_path,
                                      m_window ? m_window->windowTitle() : QString());
}
