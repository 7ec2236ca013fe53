#include "FindReplaceDialog.h"

#include "ThemeIcon.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

FindReplaceDialog::FindReplaceDialog(QTextEdit *pane, QWidget *parent)
    : QDialog(parent), m_pane(pane)
{
    setObjectName(QStringLiteral("frmFindReplace"));
    setWindowTitle(tr("Find and Replace"));
    setWindowIcon(ThemeIcon::get(QStringLiteral("edit-find-replace")));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    FindStuff = new QLineEdit(this);
    FindStuff->setObjectName(QStringLiteral("FindStuff"));
    FindStuff->setMinimumWidth(280);
    ReplaceStuff = new QLineEdit(this);
    ReplaceStuff->setObjectName(QStringLiteral("ReplaceStuff"));
    form->addRow(tr("Find:"), FindStuff);
    form->addRow(tr("Replace with:"), ReplaceStuff);
    chkMatchCase = new QCheckBox(tr("Match case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWord = new QCheckBox(tr("Whole words only"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    form->addRow(QString(), chkMatchCase);
    form->addRow(QString(), chkWholeWord);
    layout->addLayout(form);
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("Status"));
    layout->addWidget(Status);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *next = buttons->addButton(tr("Find Next"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("cmdFindNext"));
    next->setDefault(true);
    QPushButton *one = buttons->addButton(tr("Replace"), QDialogButtonBox::ActionRole);
    one->setObjectName(QStringLiteral("cmdReplace"));
    QPushButton *all = buttons->addButton(tr("Replace All"), QDialogButtonBox::ActionRole);
    all->setObjectName(QStringLiteral("cmdReplaceAll"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(one, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(all, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void FindReplaceDialog::start(const QString &selection)
{
    FindStuff->setText(selection);
    Status->clear();
    show();
    raise();
    if (selection.isEmpty())
        FindStuff->setFocus();
    else
        ReplaceStuff->setFocus();
}

QTextDocument::FindFlags FindReplaceDialog::flags() const
{
    QTextDocument::FindFlags flags;
    if (chkMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (chkWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    return flags;
}

bool FindReplaceDialog::findNext()
{
    const QString text = FindStuff->text();
    if (text.isEmpty())
        return false;
    QTextCursor found = m_pane->document()->find(text, m_pane->textCursor(), flags());
    if (found.isNull())
        found = m_pane->document()->find(text, 0, flags());
    if (found.isNull()) {
        Status->setText(tr("\"%1\" is not in the text.").arg(text));
        return false;
    }
    m_pane->setTextCursor(found);
    Status->clear();
    return true;
}

bool FindReplaceDialog::selectionMatches() const
{
    const QString selected = m_pane->textCursor().selectedText();
    return !selected.isEmpty() &&
           selected.compare(FindStuff->text(),
                            chkMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive) ==
               0;
}

bool FindReplaceDialog::replace()
{
    if (selectionMatches())
        m_pane->textCursor().insertText(ReplaceStuff->text());
    return findNext();
}

int FindReplaceDialog::replaceAll()
{
    const QString text = FindStuff->text();
    if (text.isEmpty())
        return 0;
    QTextDocument *document = m_pane->document();
    QTextCursor edit(document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor found = document->find(text, 0, flags());
    while (!found.isNull()) {
        found.insertText(ReplaceStuff->text());
        ++count;
        found = document->find(text, found, flags());
    }
    edit.endEditBlock();
    Status->setText(tr("%n replaced.", nullptr, count));
    return count;
}
