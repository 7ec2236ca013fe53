// The full editor's palettes, side panel (document facts, keywords, word list), find panel and
// word completion.
#include "FrmRtfEdit.h"

#include "AppState.h"
#include "Dialogs.h"
#include "DocumentGrid.h"
#include "EditorCommands.h"
#include "EditorText.h"
#include "KeywordDelegate.h"
#include "SharedRoutines.h"
#include "ThemeIcon.h"
#include "WindowsColor.h"
#include "WordListPanel.h"

#include <QDir>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

namespace
{

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

QLabel *fact(QFormLayout *form, const QString &caption, QList<QLabel *> &facts)
{
    auto *label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(caption, label);
    facts << label;
    return label;
}

} // namespace

QWidget *FrmRtfEdit::buildPalettes()
{
    auto *row = new QFrame(this);
    row->setObjectName(QStringLiteral("fraPalettes"));
    row->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(1);
    const auto addPalette = [&](const QString &caption, const QString &prefix,
                                const QList<qint64> &colours, bool text) {
        auto *label = new QLabel(caption, row);
        layout->addWidget(label);
        layout->addSpacing(4);
        for (qsizetype i = 0; i < colours.size(); ++i) {
            const QColor colour = WindowsColor::toColor(colours[i]);
            auto *button = new QToolButton(row);
            button->setObjectName(prefix + QString::number(i + 1));
            button->setIcon(swatch(colour));
            button->setIconSize(QSize(14, 14));
            button->setAutoRaise(true);
            button->setToolTip(colour.name());
            connect(button, &QToolButton::clicked, this, [this, colour, text] {
                if (text)
                    m_commands->applyTextColour(colour);
                else
                    m_commands->setBackColour(colour);
            });
            layout->addWidget(button);
        }
        layout->addSpacing(16);
    };
    addPalette(tr("Text:"), QStringLiteral("D"), EditorText::textPalette(), true);
    addPalette(tr("Page:"), QStringLiteral("L"), EditorText::backPalette(), false);
    layout->addStretch(1);
    return row;
}

QWidget *FrmRtfEdit::buildSidePanel()
{
    m_side = new QTabWidget(this);
    m_side->setObjectName(QStringLiteral("tabSide"));
    m_side->setMinimumWidth(260);

    auto *facts = new QWidget;
    auto *form = new QFormLayout(facts);
    for (const char *caption : {"Name:", "Category:", "Flags:", "Due date:", "Serial no:",
                                "Doc type:", "Author:", "Version:", "Progress:", "Path:"})
        fact(form, tr(caption), m_facts);
    m_side->addTab(facts, ThemeIcon::get(QStringLiteral("document-properties")), tr("Document"));

    grdKeyword = new QTableWidget(11, 1);
    grdKeyword->setObjectName(QStringLiteral("grdKeyword"));
    grdKeyword->horizontalHeader()->hide();
    grdKeyword->horizontalHeader()->setStretchLastSection(true);
    grdKeyword->verticalHeader()->hide();
    grdKeyword->setItemDelegateForColumn(
        0, new KeywordDelegate(m_store.column(QStringLiteral("Select keyword from pda_Keyword1")),
                               grdKeyword));
    connect(grdKeyword, &QTableWidget::itemChanged, this, &FrmRtfEdit::saveKeywords);
    m_side->addTab(grdKeyword, ThemeIcon::get(QStringLiteral("bookmark-new")), tr("Keywords"));

    m_words = new WordListPanel(m_store, WordListPanel::Mode::Editor);
    m_words->load(WordList::subjectStatement(WordList::All));
    connect(m_words, &WordListPanel::wordChosen, this, &FrmRtfEdit::insertWord);
    m_side->addTab(m_words, ThemeIcon::get(QStringLiteral("accessories-dictionary")),
                   tr("Word List"));
    return m_side;
}

QFrame *FrmRtfEdit::buildFindPanel()
{
    fraFind = new QFrame(this);
    fraFind->setObjectName(QStringLiteral("fraFind"));
    fraFind->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QHBoxLayout(fraFind);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(new QLabel(tr("Find word:"), fraFind));
    txtFind = new QLineEdit(fraFind);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    layout->addWidget(txtFind, 1);
    auto *find = new QPushButton(ThemeIcon::get(QStringLiteral("edit-find")), tr("Find"), fraFind);
    find->setObjectName(QStringLiteral("CmdFind"));
    find->setDefault(true);
    layout->addWidget(find);
    auto *hide = new QToolButton(fraFind);
    hide->setIcon(ThemeIcon::get(QStringLiteral("window-close")));
    hide->setAutoRaise(true);
    layout->addWidget(hide);
    connect(find, &QPushButton::clicked, this, &FrmRtfEdit::CmdFind_Click);
    connect(txtFind, &QLineEdit::returnPressed, this, &FrmRtfEdit::CmdFind_Click);
    connect(hide, &QToolButton::clicked, fraFind, &QWidget::hide);
    fraFind->hide();
    return fraFind;
}

void FrmRtfEdit::showFacts()
{
    for (QLabel *label : m_facts)
        label->clear();
    const std::optional<DocumentRecord> record = m_catalogue->byPath(m_path);
    if (!record)
        return;
    const bool national = AppState::instance().national;
    const QStringList values = {
        record->documentName,
        record->category1,
        record->flags,
        record->dueDate.isValid() ? FormatDate(record->dueDate, DocumentGrid::dateFormat(national))
                                  : QString(),
        record->serialNo ? QString::number(*record->serialNo) : QString(),
        record->docType,
        record->author,
        record->version,
        record->progress,
        QDir::toNativeSeparators(record->path)};
    for (qsizetype i = 0; i < values.size() && i < m_facts.size(); ++i)
        m_facts[i]->setText(values[i]);
}

void FrmRtfEdit::CmdFind_Click()
{
    const QTextCursor found =
        EditorText::findWord(*rtfText->document(), txtFind->text(), rtfText->textCursor());
    if (found.isNull()) {
        Dialogs::instance().message(QStringLiteral("Word not found."));
        return;
    }
    rtfText->setTextCursor(found);
    Dialogs::instance().message(
        QStringLiteral("Word found on line ") +
        QString::number(EditorText::lineOf(*rtfText->document(), found.selectionStart())));
    fraFind->hide();
}

bool FrmRtfEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rtfText && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Delete && key->key() != Qt::Key_Return &&
            key->key() != Qt::Key_Enter)
            onKeyReleased(key->key(), key->text());
    } else if (watched == rtfText && event->type() == QEvent::KeyPress) {
        // Down in the middle of a word moves to the words that complete it.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier &&
            !m_prefix.isEmpty() && !m_words->words().isEmpty()) {
            m_side->setCurrentWidget(m_words);
            m_words->focusWords();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmRtfEdit::onKeyReleased(int key, const QString &text)
{
    if (key == Qt::Key_Backspace)
        m_prefix.chop(1);
    else if (!text.isEmpty())
        m_prefix = WordList::nextPrefix(m_prefix, text.at(0));
    else
        return; // a key without a character (Shift, the arrows) changes nothing
    if (m_words->complete(m_prefix) > 0 && !m_prefix.isEmpty())
        m_side->setCurrentWidget(m_words);
}

void FrmRtfEdit::insertWord(const QString &word)
{
    QTextCursor cursor = rtfText->textCursor();
    cursor.clearSelection();
    // The prefix is the letters before the caret, as typed.
    const int typed = std::min<int>(int(m_prefix.size()), cursor.positionInBlock());
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, typed);
    cursor.insertText(word + u' ');
    rtfText->setTextCursor(cursor);
    m_prefix.clear();
    rtfText->setFocus();
}

void FrmRtfEdit::saveKeywords()
{
    if (!m_path.isEmpty())
        m_catalogue->saveKeywords(m_path, KeywordDelegate::cells(*grdKeyword));
}
