#pragma once

#include "WordList.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QTabBar;
class Store;

// The word list by subject beside an editor's text: subject tabs (TabKeyword), in the full
// editor also the two subject lists (CmbSub, CmbSub1) with the "all" box (Chkall), and the word
// grid (grdWord). A word is chosen by a click, Enter or Space; Right in the grid goes to the
// tabs and Left in the tabs back.
class WordListPanel : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Editor, Notebook };

    WordListPanel(const Store &store, Mode mode, QWidget *parent = nullptr);

    // The subjects of the tabs, in order ("All" last in the full editor).
    static QStringList tabSubjects(Mode mode);

    // Loads a statement's words; returns how many.
    int load(const QString &statement);
    // Word completion for the prefix typed so far: the full editor's statement by the subject
    // lists, the notebook's by English. Returns how many words it found.
    int complete(const QString &prefix);
    QStringList words() const;
    // Picks the word of a row, as a click does.
    void choose(int row);
    void focusWords();

Q_SIGNALS:
    void wordChosen(const QString &word);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTab(int index);
    void onSubjects();

    WordList m_words;
    Mode m_mode;
    QTabBar *TabKeyword = nullptr;
    QComboBox *CmbSub = nullptr;
    QComboBox *CmbSub1 = nullptr;
    QCheckBox *Chkall = nullptr;
    QLabel *lblSubject = nullptr;
    QListWidget *grdWord = nullptr;
};
