// The query window: opened from the Database utility with the table's fields and types, texts
// run on the opened database, failures shown under the editor, the history of statements.

#include "DbTestFiles.h"
#include "KeyedGrid.h"
#include "Screenshot.h"
#include "TestEnvironment.h"
#include "frmDblist.h"
#include "frmQuery.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace
{

template <typename T> T *child(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QStringList items(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class tst_frmQuery : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<frmDblist> m_window;

    // Opens the query window from the Database utility's tool.
    frmQuery *openQuery()
    {
        m_window->findChild<QAction *>(QStringLiteral("ID_Query"))->trigger();
        return m_window->findChild<frmQuery *>();
    }

    void runText(frmQuery &query, const QString &text)
    {
        child<QPlainTextEdit>(query, "txtSql")->setPlainText(text);
        child<QPushButton>(query, "cmdRun")->click();
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        const QString path = MakePeopleDbf(
            m_env->scratch() + QStringLiteral("/people.dbf"),
            {{"Alice", 30, "1994-03-12", 1}, {"bob", 25, "1999-07-01", 0}, {"O'Neil", 41, {}, 1}});
        m_window = std::make_unique<frmDblist>();
        m_window->handOver(path, true);
    }
    void cleanup()
    {
        m_window.reset();
        m_env.reset();
    }

    void opensWithTheFieldsAndTypes();
    void choosingAFieldShowsItsTypeAndWritesIt();
    void resultsInTheGrid();
    void failureShownUnderTheEditor();
    void historyKeepsTheStatements();
    void changesShowInTheRecords();
};

void tst_frmQuery::opensWithTheFieldsAndTypes()
{
    // Without a database there is nothing to ask.
    frmDblist empty;
    empty.findChild<QAction *>(QStringLiteral("ID_Query"))->trigger();
    QVERIFY(!empty.findChild<frmQuery *>());
    frmQuery *query = openQuery();
    QVERIFY(query);
    QVERIFY(query->isModal() || query->windowModality() != Qt::NonModal);
    const QStringList fields{"NAME", "AGE", "BORN", "ACTIVE", "NOTE"};
    QCOMPARE(items(child<QComboBox>(*query, "cboFiled1")), fields);
    QCOMPARE(items(child<QComboBox>(*query, "cboFiled2")), fields);
    const QStringList types{"Text", "Numeric Double", "Date/Time", "Yes/No", "Memo"};
    QCOMPARE(items(child<QComboBox>(*query, "cboFiledType1")), types);
    QCOMPARE(items(child<QComboBox>(*query, "cboFiledType2")), types);
    QCOMPARE(child<QComboBox>(*query, "cboFiled2")->currentText(), QStringLiteral("AGE"));
    QCOMPARE(child<QComboBox>(*query, "cboFiledType2")->currentText(),
             QStringLiteral("Numeric Double"));
    // The editor starts with the text the grid shows: every field ticked visible.
    QCOMPARE(child<QPlainTextEdit>(*query, "txtSql")->toPlainText(),
             QStringLiteral("Select [NAME],[AGE],[BORN],[ACTIVE],[NOTE] from people.dbf"));
    query->close();
}

void tst_frmQuery::choosingAFieldShowsItsTypeAndWritesIt()
{
    frmQuery *query = openQuery();
    auto *editor = child<QPlainTextEdit>(*query, "txtSql");
    editor->setPlainText(QStringLiteral("select  from people.dbf"));
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(7);
    editor->setTextCursor(cursor);
    QComboBox *fields = child<QComboBox>(*query, "cboFiled1");
    fields->setCurrentIndex(2);
    Q_EMIT fields->activated(2);
    QCOMPARE(child<QComboBox>(*query, "cboFiledType1")->currentText(), QStringLiteral("Date/Time"));
    QCOMPARE(editor->toPlainText(), QStringLiteral("select [BORN] from people.dbf"));
    QVERIFY(query->run());
    QCOMPARE(child<KeyedGrid>(*query, "grdResult")->grid()->dataRows(), 3);
    query->close();
}

void tst_frmQuery::resultsInTheGrid()
{
    frmQuery *query = openQuery();
    runText(*query, QStringLiteral("select NAME, AGE * 2 as TWICE from people.dbf where NAME "
                                   "like '*i*' order by AGE"));
    const KeyedGridModel *grid = child<KeyedGrid>(*query, "grdResult")->grid();
    QCOMPARE(grid->dataRows(), 2);
    QCOMPARE(grid->text(1, QStringLiteral("NAME")), QStringLiteral("Alice"));
    QCOMPARE(grid->text(2, QStringLiteral("TWICE")), QStringLiteral("82"));
    QCOMPARE(child<QLabel>(*query, "lblResult")->text(), QStringLiteral("2 records"));
    Screenshot(*query, "query-results");
    QVERIFY(child<QLabel>(*query, "lblError")->isHidden());
    query->close();
}

void tst_frmQuery::failureShownUnderTheEditor()
{
    frmQuery *query = openQuery();
    runText(*query, QStringLiteral("select NAME\nfrom people.dbf wher AGE = 1"));
    QLabel *error = child<QLabel>(*query, "lblError");
    QVERIFY(!error->isHidden());
    QVERIFY2(error->text().startsWith(QLatin1String("Line 2, column 22: ")),
             qPrintable(error->text()));
    QVERIFY(error->text().contains(QLatin1String("syntax error")));
    QCOMPARE(child<QPlainTextEdit>(*query, "txtSql")->textCursor().position(), 33);
    QVERIFY(!child<QPlainTextEdit>(*query, "txtSql")->extraSelections().isEmpty());
    Screenshot(*query, "query-error");
    // The window goes on: the next text runs.
    runText(*query, QStringLiteral("select count(*) from people.dbf"));
    QVERIFY(error->isHidden());
    QCOMPARE(child<KeyedGrid>(*query, "grdResult")->grid()->text(1, QStringLiteral("count(*)")),
             QStringLiteral("3"));
    query->close();
}

void tst_frmQuery::historyKeepsTheStatements()
{
    frmQuery *query = openQuery();
    runText(*query, QStringLiteral("select 1"));
    runText(*query, QStringLiteral("select NAME from people.dbf"));
    runText(*query, QStringLiteral("select 1"));
    QCOMPARE(
        m_env->platform().settings.value("Nuvela Utilities/DBViewer/QueryHistory").toStringList(),
        (QStringList{"select 1", "select NAME from people.dbf"}));
    query->close();
    frmQuery *again = openQuery();
    QComboBox *history = child<QComboBox>(*again, "cboHistory");
    QCOMPARE(items(history), (QStringList{"select 1", "select NAME from people.dbf"}));
    history->setCurrentIndex(1);
    Q_EMIT history->activated(1);
    QCOMPARE(child<QPlainTextEdit>(*again, "txtSql")->toPlainText(),
             QStringLiteral("select NAME from people.dbf"));
    again->close();
}

void tst_frmQuery::changesShowInTheRecords()
{
    frmQuery *query = openQuery();
    runText(*query, QStringLiteral("update people.dbf set NAME = 'Bob' where NAME = 'bob'"));
    QCOMPARE(child<QLabel>(*query, "lblResult")->text(), QStringLiteral("1 records changed"));
    QCOMPARE(query->changedRecords(), 1);
    query->close();
    m_window->finishCounting();
    QCOMPARE(m_window->records()->text(2, QStringLiteral("NAME")), QStringLiteral("Bob"));
}

QTEST_MAIN(tst_frmQuery)
#include "tst_frmQuery.moc"
