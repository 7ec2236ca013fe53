#pragma once

#include "NotesCatalogue.h"
#include "Store.h"

#include <QColor>
#include <QWidget>

#include <memory>

class EditorCommands;
class FindReplaceDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QTimer;
class ToolStrip;
class WordListPanel;

// The full document editor: the document's text with the tool bar TbarEdit, the font and size
// lists, the text and background palettes, the find panel, the side panel with the document's
// facts, its keywords and the word list, and Save (SSCommand1), Cancel (SSCommand2) and Close
// (dxColorBtn1). It replaces the notebook window while it is open and reopens it when it goes.
//
// Split by concern: FrmRtfEdit.cpp builds the window, opens, saves and closes;
// FrmRtfEdit_Panels.cpp holds the palettes, the side panel, find and word completion.
class FrmRtfEdit : public QWidget
{
    Q_OBJECT
public:
    // Unsaved changes are copied aside this long after the last one (milliseconds).
    static constexpr int AutosaveDelayMs = 3000;

    explicit FrmRtfEdit(QWidget *parent = nullptr);
    ~FrmRtfEdit() override;

    // Opens a document (the notebook's current document path). A copy left by an editor that
    // did not close is offered back first. False, with the window left empty, when there is no
    // path or the file cannot be read and no copy of it is kept.
    bool open(const QString &path);
    QString path() const { return m_path; }
    QTextEdit *pane() const { return rtfText; }
    bool isModified() const;

    // Runs a tool of TbarEdit by its identifier; false when unknown.
    bool runTool(const QString &id);
    // SaveFull: the file and its catalogue row; false when the file could not be written.
    bool SaveFull();
    // The buttons: Save asks, saves and closes; Cancel and Close ask "Quit without saving?".
    void SSCommand1_Click();
    void SSCommand2_Click();
    void dxColorBtn1_Click();
    // FindWord (CmdFind) with the text of the find box.
    void CmdFind_Click();
    // Writes the copy of unsaved changes now (the timer does it after each pause).
    void autosave();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // FrmRtfEdit.cpp
    void buildWindow();
    QWidget *buildButtons();
    void showFacts();
    void updateCharacters();
    void finish(bool reopenNotebook);
    bool askQuit();

    // FrmRtfEdit_Panels.cpp
    QWidget *buildPalettes();
    QWidget *buildSidePanel();
    QFrame *buildFindPanel();
    void onKeyReleased(int key, const QString &text);
    void insertWord(const QString &word);
    void saveKeywords();

    Store m_store;
    std::unique_ptr<NotesCatalogue> m_catalogue;
    QString m_path;
    QString m_prefix; // letters typed since the last blank
    bool m_finished = false;

    ToolStrip *TbarEdit = nullptr;
    EditorCommands *m_commands = nullptr;
    QTextEdit *rtfText = nullptr;
    QLabel *lblFileName = nullptr;
    QLabel *lblCharacters = nullptr;
    QTabWidget *m_side = nullptr;
    QTableWidget *grdKeyword = nullptr;
    WordListPanel *m_words = nullptr;
    QFrame *fraFind = nullptr;
    QLineEdit *txtFind = nullptr;
    FindReplaceDialog *m_findReplace = nullptr;
    QTimer *m_autosave = nullptr;
    QList<QLabel *> m_facts;
};
