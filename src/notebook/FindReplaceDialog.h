#pragma once

#include <QDialog>
#include <QTextDocument>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTextEdit;

// The find-and-replace dialog of the editors: FindStuff (what to find), ReplaceStuff (what to
// put in its place) and the Status line. It works on its text pane while it is open and does
// not block the editor.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FindReplaceDialog(QTextEdit *pane, QWidget *parent = nullptr);

    // Opens with selection as the text to find: an empty Status line, and the focus in the
    // replace box when the find box is filled.
    void start(const QString &selection);

    // Selects the next match after the caret (wrapping once to the start); false when none.
    bool findNext();
    // Replaces the selected match and finds the next one.
    bool replace();
    // Replaces every match as one undo step; returns how many.
    int replaceAll();

private:
    QTextDocument::FindFlags flags() const;
    bool selectionMatches() const;

    QTextEdit *m_pane;
    QLineEdit *FindStuff = nullptr;
    QLineEdit *ReplaceStuff = nullptr;
    QCheckBox *chkMatchCase = nullptr;
    QCheckBox *chkWholeWord = nullptr;
    QLabel *Status = nullptr;
};
