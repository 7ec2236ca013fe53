#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QTextEdit;
class QWidget;
class ToolStrip;

// The commands both editors share, by tool identifier, on one text pane: clipboard, character
// and paragraph formats, fonts and colours, case changes, date and time stamps, imports of
// text, RTF and DOC files, pictures, the print preview and printing to PDF, "SaveasWord" and
// "SavetoDesktop".
// The full editor uses the identifiers of its tool bar TbarEdit; the notebook's formatting tool
// bar uses the same ones except for the stamps ("TMedium", "DShort", ...). "Find" and
// "FindReplace" are the window's: they are announced by signals.
class EditorCommands : public QObject
{
    Q_OBJECT
public:
    enum class Bar { Editor, Notebook };

    EditorCommands(QTextEdit *pane, QWidget *window);

    // Adds the tools of a bar to strip, with the font list "Id_Font" and the size list
    // "Id_FontSize" (sizes as the bar's window offers them), wired to run().
    void addTools(ToolStrip *strip, Bar bar);
    static QStringList fonts();

    // Runs a command; false when the identifier is none of the editors'.
    bool run(const QString &id);

    // The file the pane shows (the stamps need none; the desktop copy and "SaveasWord" name
    // their files after it).
    void setDocumentPath(const QString &path) { m_path = path; }
    QString documentPath() const { return m_path; }
    // The pane's background colour, stored with the next save.
    QColor backColour() const { return m_backColour; }
    void setBackColour(const QColor &colour);

    void applyFontFamily(const QString &family);
    void applyFontSize(qreal points);
    void applyTextColour(const QColor &colour);

Q_SIGNALS:
    void findRequested();
    // The selection, for the find box of the find-and-replace dialog.
    void findReplaceRequested(const QString &selection);
    void backColourChanged(const QColor &colour);

private:
    void toggleStyle(const QString &id);
    void toggleBullet();
    void chooseFont();
    void changeCase(const QString &id);
    void appendStamp(const QString &id);
    void import(const QString &id);
    void insertPicture();
    void printToPdf();
    void saveAsWord();
    void saveToDesktop();

    QTextEdit *m_pane;
    QWidget *m_window;
    QString m_path;
    QColor m_backColour;
    QComboBox *m_fontList = nullptr;
    QComboBox *m_sizeList = nullptr;
};
