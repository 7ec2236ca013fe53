// The query window's engine: Jet texts on every kind of source, several statements, failures
// placed in the text as it was written, and the history of statements.

#include "DbBrowser.h"
#include "DbTestFiles.h"
#include "QueryRunner.h"
#include "TestEnvironment.h"

#include <QTest>

class tst_QueryRunner : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DbBrowser> m_browser;
    QString m_people;

    QueryRunner::Result run(const QString &sql, int maxRows = 1000)
    {
        return QueryRunner::run(m_browser->source()->handle(), sql, maxRows);
    }

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_people = MakePeopleDbf(
            m_env->scratch() + QStringLiteral("/people.dbf"),
            {{"Alice", 30, "1994-03-12", 1}, {"bob", 25, "1999-07-01", 0}, {"O'Neil", 41, {}, 1}});
        m_browser = std::make_unique<DbBrowser>();
        QVERIFY(m_browser->OpenSource(m_people, QString(), nullptr));
    }
    void cleanup()
    {
        m_browser.reset();
        m_env.reset();
    }

    void jetTexts_data();
    void jetTexts();
    void statementsRunInOrder();
    void rowsAreCut();
    void failuresArePlaced_data();
    void failuresArePlaced();
    void accessRefusesChanges();
    void sqliteFilesAnswerTheSameTexts();
};

void tst_QueryRunner::jetTexts_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "Select NAME from people.dbf order by AGE"
                           << QStringList{"bob", "Alice", "O'Neil"};
    QTest::newRow("Jet like") << "select [NAME] from [people.dbf] where NAME like 'A*'"
                              << QStringList{"Alice"};
    QTest::newRow("date literal") << "select NAME from people where BORN = #12-Mar-1994#"
                                  << QStringList{"Alice"};
    QTest::newRow("yes/no words") << "select NAME from people.dbf where ACTIVE = true order by NAME"
                                  << QStringList{"Alice", "O'Neil"};
    QTest::newRow("double-quoted value")
        << "select NAME from people.dbf where NAME = \"bob\"" << QStringList{"bob"};
    QTest::newRow("functions") << "select ucase(NAME) from people.dbf where len(NAME) = 3"
                               << QStringList{"BOB"};
}

void tst_QueryRunner::jetTexts()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, names);
    const QueryRunner::Result result = run(sql);
    QVERIFY2(result.ok, qPrintable(result.error));
    QStringList found;
    for (const QStringList &row : result.rows)
        found << row.value(0);
    QCOMPARE(found, names);
    QCOMPARE(result.columns.size(), 1);
    QCOMPARE(result.changes, 0);
}

void tst_QueryRunner::statementsRunInOrder()
{
    const QueryRunner::Result result =
        run(QStringLiteral("update people.dbf set AGE = AGE + 1 where ACTIVE = true;\n"
                           "delete from people.dbf where NAME = 'bob';\n"
                           "select NAME, AGE from people.dbf order by NAME;"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.changes, 3);
    QCOMPARE(result.columns, (QStringList{"NAME", "AGE"}));
    QCOMPARE(result.rows, (QList<QStringList>{{"Alice", "31"}, {"O'Neil", "42"}}));
    // The file itself changed: read it afresh.
    DbBrowser fresh;
    QVERIFY(fresh.OpenSource(m_people, QString(), nullptr));
    QCOMPARE(fresh.source()->recordCount(QStringLiteral("people.dbf")), 2);
}

void tst_QueryRunner::rowsAreCut()
{
    QueryRunner::Result result = run(QStringLiteral("select * from people.dbf"), 2);
    QVERIFY(result.ok);
    QCOMPARE(result.rows.size(), 2);
    QVERIFY(result.truncated);
    QCOMPARE(result.columns.size(), 5);
    result = run(QStringLiteral("select * from people.dbf"), 3);
    QVERIFY(!result.truncated);
    // Blanks and comments are no statements.
    result = run(QStringLiteral("  ;  -- nothing\n"));
    QVERIFY(result.ok);
    QVERIFY(result.columns.isEmpty());
}

void tst_QueryRunner::failuresArePlaced_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("at");
    QTest::addColumn<int>("line");
    QTest::newRow("misspelt keyword") << "select * fro people.dbf"
                                      << "fro" << 1;
    QTest::newRow("after a longer translation")
        << "select [NAME], #12-Mar-1994# from people.dbf wher AGE = 1"
        << "AGE" << 1;
    QTest::newRow("second line") << "select NAME\nfrom people.dbf where AGE = = 3"
                                 << "= 3" << 2;
    QTest::newRow("in the second statement") << "select 1; select NAME fro people.dbf"
                                             << "people" << 1;
    QTest::newRow("cut short: at the end") << "select NAME\nfrom people.dbf where"
                                           << "" << 2;
}

void tst_QueryRunner::failuresArePlaced()
{
    QFETCH(QString, sql);
    QFETCH(QString, at);
    QFETCH(int, line);
    const QueryRunner::Result result = run(sql);
    QVERIFY(!result.ok);
    QVERIFY(result.error.contains(QLatin1String("syntax error")) ||
            result.error.contains(QLatin1String("incomplete")));
    const int expected = int(sql.lastIndexOf(at));
    QVERIFY2(qAbs(result.errorOffset - expected) <= 1,
             qPrintable(QStringLiteral("%1 at %2, expected %3")
                            .arg(result.error)
                            .arg(result.errorOffset)
                            .arg(expected)));
    QCOMPARE(result.errorLine, line);
    QCOMPARE(result.errorColumn,
             result.errorOffset - int(sql.left(result.errorOffset).lastIndexOf('\n')));
    // A name that is no column fails without a place.
    const QueryRunner::Result unknown = run(QStringLiteral("select NOPE from people.dbf"));
    QVERIFY(!unknown.ok);
    QVERIFY(unknown.error.contains(QLatin1String("NOPE")));
}

void tst_QueryRunner::accessRefusesChanges()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("mdb/nwind.mdb"), m_env->scratch());
    const QByteArray before = ReadBytes(path);
    DbBrowser browser;
    QVERIFY(browser.OpenSource(path, QStringLiteral("Access"), nullptr));
    QueryRunner::Result result = QueryRunner::run(
        browser.source()->handle(),
        QStringLiteral("select count(*) from [Order Details] where Quantity > 100"), 10);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.rows.value(0).value(0).toInt() > 0);
    result =
        QueryRunner::run(browser.source()->handle(), QStringLiteral("delete from Shippers"), 10);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QLatin1String("can read but not change")),
             qPrintable(result.error));
    QCOMPARE(ReadBytes(path), before);
}

void tst_QueryRunner::sqliteFilesAnswerTheSameTexts()
{
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.db"));
    DbBrowser browser;
    QVERIFY(browser.OpenSource(path, QString(), nullptr));
    const QueryRunner::Result result = QueryRunner::run(
        browser.source()->handle(),
        QStringLiteral("select [name] from [people] where name like 'a*' and active = false"), 10);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.rows, (QList<QStringList>{{"alice"}}));
}

QTEST_GUILESS_MAIN(tst_QueryRunner)
#include "tst_QueryRunner.moc"
