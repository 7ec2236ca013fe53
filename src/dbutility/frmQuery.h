#pragma once

#include <QDialog>

class DbBrowser;
class KeyedGrid;
class QComboBox;
class QLabel;
class QLayout;
class QPlainTextEdit;

// The query window of the Database utility: a SQL editor over the opened database. Texts are
// written in the Jet dialect and run through the program's translation, so the same text works
// on Access, dBase, Paradox, text and SQLite files; results show in a keyed grid, a failure
// under the editor with the place it was found, and the last statements run are kept.
//
// The two field boxes (cboFiled1, cboFiled2) hold the table's fields and the two type boxes
// (cboFiledType1, cboFiledType2) their types: choosing a field shows its type and puts its name
// into the text at the cursor.
class frmQuery : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MaxRows = 100000;

    frmQuery(DbBrowser &browser, const QString &initialSql, QWidget *parent = nullptr);

    // Runs the editor's text; false when it failed.
    bool run();
    // Records changed by the statements run so far.
    qint64 changedRecords() const { return m_changes; }

private:
    QLayout *buildBoxes();
    void fillFieldBoxes();
    void insertField(QComboBox *fields, QComboBox *types);
    void showError(const QString &message, int offset, int line, int column);
    void loadHistory();

    DbBrowser &m_browser;
    qint64 m_changes = 0;
    QComboBox *cboFiled1 = nullptr;
    QComboBox *cboFiled2 = nullptr;
    QComboBox *cboFiledType1 = nullptr;
    QComboBox *cboFiledType2 = nullptr;
    QComboBox *m_history = nullptr;
    QPlainTextEdit *m_editor = nullptr;
    QLabel *m_error = nullptr;
    QLabel *m_result = nullptr;
    KeyedGrid *m_grid = nullptr;
};
