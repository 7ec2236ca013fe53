#include "JetSql.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QSqlError>
#include <QTest>

#include <ctime>

class TestJetSql : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void translation_data();
    void translation();
    void likeSemantics_data();
    void likeSemantics();
    void corpusRunsOnFreshStores();
    void likePatternServesEveryRowOfAStatement();
    void dateLiteralEqualsDateOnlyValue();
    void quotedValuesRoundTrip();
    void functions();
    void parseDate_data();
    void parseDate();
    void hostileLikePatterns_data();
    void hostileLikePatterns();
    void datesInDaylightSavingGap_data();
    void datesInDaylightSavingGap();
    void caseOfLongTexts_data();
    void caseOfLongTexts();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestJetSql::translation_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("delete star") << "Delete * from fileDetails"
                                 << "Delete from fileDetails";
    QTest::newRow("delete star lower") << "delete  *  from t where a=1"
                                       << "delete  from t where a=1";
    QTest::newRow("plain delete kept") << "Delete from t"
                                       << "Delete from t";
    QTest::newRow("booleans") << "update t set a=True,b=false"
                              << "update t set a=1,b=0";
    QTest::newRow("boolean inside literal untouched") << "select 'true' from t"
                                                      << "select 'true' from t";
    QTest::newRow("column named like a boolean after dot") << "select t.true from t"
                                                           << "select t.true from t";
    QTest::newRow("brackets") << "select [Group],[my col] from [t]"
                              << "select \"Group\",\"my col\" from \"t\"";
    QTest::newRow("date literal") << "where d=#04-Dec-2026#"
                                  << "where d='2026-12-04 00:00:00'";
    QTest::newRow("us date literal") << "where d=#12/04/2026#"
                                     << "where d='2026-12-04 00:00:00'";
    QTest::newRow("hash inside literal") << "where a='#1#'"
                                         << "where a='#1#'";
    QTest::newRow("double-quoted literal") << "where a=\"it's\""
                                           << "where a='it''s'";
    QTest::newRow("doubled quote kept") << "where a='O''Brien'"
                                        << "where a='O''Brien'";
    QTest::newRow("concatenation") << "select a & 'x' from t"
                                   << "select a || 'x' from t";
    QTest::newRow("unterminated literal does not hang") << "where a='abc"
                                                        << "where a='abc'";
}

void TestJetSql::translation()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(JetSql::translate(jet), sqlite);
}

void TestJetSql::likeSemantics_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");
    QTest::newRow("star") << "report.doc" << "*.doc" << true;
    QTest::newRow("case-insensitive") << "REPORT.DOC" << "*.doc" << true;
    QTest::newRow("non-ASCII case") << "Äpfel" << "äp*" << true;
    QTest::newRow("question mark one char") << "ab" << "a?" << true;
    QTest::newRow("question mark not zero") << "a" << "a?" << false;
    QTest::newRow("percent is literal") << "a%b" << "a%b" << true;
    QTest::newRow("percent does not wildcard") << "axyb" << "a%b" << false;
    QTest::newRow("underscore is literal") << "axb" << "a_b" << false;
    QTest::newRow("digit") << "a1" << "a#" << true;
    QTest::newRow("digit rejects letter") << "ab" << "a#" << false;
    QTest::newRow("list") << "b" << "[abc]" << true;
    QTest::newRow("range") << "m" << "[a-z]" << true;
    QTest::newRow("negated list") << "b" << "[!abc]" << false;
    QTest::newRow("double star category rule") << "*.doc,*.docx" << "**.doc*" << true;
    QTest::newRow("category rule prefix ext") << "*.docx" << "**.doc*" << true;
    QTest::newRow("category rule miss") << "*.txt,*.rtf" << "**.doc*" << false;
    QTest::newRow("empty pattern") << "" << "" << true;
    QTest::newRow("star matches empty") << "" << "*" << true;
    QTest::newRow("unclosed bracket literal") << "[a" << "[a" << true;
    // Patterns of a literal between stars take a short path for ASCII values; it must answer
    // as the general match does.
    QTest::newRow("contains, case") << "Weekly REPORT" << "*report*" << true;
    QTest::newRow("contains miss") << "Weekly repor" << "*report*" << false;
    QTest::newRow("contains at the end") << "a report" << "*report*" << true;
    QTest::newRow("prefix") << "Letter to Ann" << "le*" << true;
    QTest::newRow("prefix is no contains") << "a letter" << "le*" << false;
    QTest::newRow("suffix") << "notes.RTF" << "*.rtf" << true;
    QTest::newRow("exact ignores case") << "HOME" << "home" << true;
    QTest::newRow("exact is whole") << "homes" << "home" << false;
    QTest::newRow("value longer than nothing") << "x" << "**" << true;
    QTest::newRow("non-ASCII value, ASCII pattern") << "Straße 5" << "*strasse*" << false;
    QTest::newRow("folds beyond ASCII") << "Mañana" << "*MAÑ*" << true;
    QTest::newRow("long s folds to s") << "Maſs" << "*mass*" << true;
    QTest::newRow("escaped star is literal") << "50*" << "*50[*]*" << true;
    QTest::newRow("escaped star needs a star") << "50%" << "*50[*]*" << false;
    QTest::newRow("star backtracks") << "aaab" << "*a*a*b" << true;
    QTest::newRow("star backtracks and fails") << "aaaa" << "*a*a*b" << false;
    QTest::newRow("later star retries") << "abxabyd" << "a*b?d" << true;
    QTest::newRow("star then set") << "x-7" << "*[0-9]" << true;
    QTest::newRow("star then negated set") << "x-7" << "*[!0-9]" << false;
    QTest::newRow("stars around digit") << "no 5 here" << "*#*" << true;
    QTest::newRow("empty set matches nothing") << "a" << "[]" << false;
    QTest::newRow("bracket closed later") << "[ab]" << "[[]ab]" << true;
    QTest::newRow("unclosed brackets after a star") << "x[[[" << "*[[[" << true;
    QTest::newRow("sharp s folds") << "STRASSE" << "stra*e" << true;
}

// Stars tried every split of the text by recursion: these took minutes. Through SQL, where the
// pattern is read once per statement.
void TestJetSql::hostileLikePatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("matches");
    QTest::newRow("four stars, no b") << "*a*a*a*b" << 0;
    QTest::newRow("six stars, no b") << "*a*a*a*a*a*a*b" << 0;
    QTest::newRow("six stars, matching") << "*a*a*a*a*a*a*" << 200;
    QTest::newRow("unclosed brackets") << QString(2000, QLatin1Char('[')) + "*b" << 0;
    QTest::newRow("many question marks") << QString(150, QLatin1Char('?')) + "*?" << 200;
}

void TestJetSql::hostileLikePatterns()
{
    QFETCH(QString, pattern);
    QFETCH(int, matches);
    Store store(Store::Kind::Data);
    QVERIFY(store.exec(QStringLiteral("create temp table letters (v text)")));
    QVERIFY(store.exec(QStringLiteral("begin")));
    for (int i = 0; i < 200; ++i)
        QVERIFY(store.exec(QStringLiteral("insert into letters values (%1)")
                               .arg(SqlText::literal(QString(200, QLatin1Char('a'))))));
    QVERIFY(store.exec(QStringLiteral("commit")));
    QCOMPARE(store
                 .value(QStringLiteral("select count(*) from letters where v like ") +
                        SqlText::literal(pattern))
                 .toInt(),
             matches);
}

void TestJetSql::likeSemantics()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    QCOMPARE(JetSql::like(value, pattern), matches);
    // A value put in a like pattern literally (SqlText::likeText) matches itself only.
    QVERIFY(JetSql::like(value, SqlText::likeText(value)));
    QVERIFY(JetSql::like(value, QLatin1Char('*') + SqlText::likeText(value) + QLatin1Char('*')));
    // The same answer through SQL, where the engine calls like(pattern, value).
    Store store(Store::Kind::Data);
    const QVariant sqlAnswer = store.value(QStringLiteral("select ") + SqlText::literal(value) +
                                           QStringLiteral(" like ") + SqlText::literal(pattern));
    QCOMPARE(sqlAnswer.toInt() != 0, matches);
}

void TestJetSql::likePatternServesEveryRowOfAStatement()
{
    Store store(Store::Kind::Data);
    const QStringList names = {"Report", "report 2", "Bericht Größe REPORT", "nothing", "Re-port",
                               "ÄREPORTÄ", ""};
    for (const QString &name : names)
        QVERIFY(store.exec(QStringLiteral("insert into filedetails (Name) values (") +
                           SqlText::literal(name) + ')'));
    QVERIFY(store.exec(QStringLiteral("insert into filedetails (Name) values (NULL)")));
    QCOMPARE(store.column(QStringLiteral("select Name from filedetails where Name like "
                                         "'*report*' order by rowid")),
             (QStringList{"Report", "report 2", "Bericht Größe REPORT", "ÄREPORTÄ"}));
    // The same statement with another pattern is made ready again.
    QCOMPARE(store.column(QStringLiteral("select Name from filedetails where Name like "
                                         "'re*' order by rowid")),
             (QStringList{"Report", "report 2", "Re-port"}));
}

void TestJetSql::corpusRunsOnFreshStores()
{
    QFile corpus(QStringLiteral(NUVELA_SOURCE_DIR "/tests/shell/common/core/jet_corpus.txt"));
    QVERIFY(corpus.open(QIODevice::ReadOnly | QIODevice::Text));
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    QVERIFY(data.isOpen());
    QVERIFY(info.isOpen());
    int statements = 0;
    while (!corpus.atEnd()) {
        const QString line = QString::fromUtf8(corpus.readLine()).chopped(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        QVERIFY2(tab > 0, qPrintable(line));
        const Store &store = line.left(tab) == QLatin1String("info") ? info : data;
        const QString sql = line.mid(tab + 1);
        QSqlQuery q = store.query(sql);
        QVERIFY2(q.lastError().type() == QSqlError::NoError,
                 qPrintable(sql + QStringLiteral("\n -> ") + JetSql::translate(sql) +
                            QStringLiteral("\n -> ") + q.lastError().text()));
        ++statements;
    }
    QVERIFY(statements > 100);
}

void TestJetSql::dateLiteralEqualsDateOnlyValue()
{
    Store store(Store::Kind::Data);
    const QString day = JetSql::canonicalDate(QDate(2026, 12, 4));
    QVERIFY(store.exec(QStringLiteral("insert into nv_notesdairy1 (path, mdate) values ('a', ") +
                       SqlText::literal(day) + ')'));
    QVERIFY(store.exec(QStringLiteral("insert into nv_notesdairy1 (path, mdate) values ('b', ") +
                       SqlText::literal(JetSql::canonicalDate(QDate(2026, 12, 5))) + ')'));
    QCOMPARE(
        store.value(QStringLiteral("select path from nv_notesdairy1 where mdate =#04-Dec-2026#"))
            .toString(),
        QStringLiteral("a"));
    // A range includes both ends.
    QCOMPARE(store
                 .value(QStringLiteral("select count(*) from nv_notesdairy1 where mdate>=") +
                        SqlText::dateLiteral(QDate(2026, 12, 4)) + QStringLiteral(" and mdate<=") +
                        SqlText::dateLiteral(QDate(2026, 12, 5)))
                 .toInt(),
             2);
    QCOMPARE(
        store
            .value(QStringLiteral("select year(mdate) * 100 + month(mdate) from nv_notesdairy1 "
                                  "where path='a'"))
            .toInt(),
        202612);
}

void TestJetSql::quotedValuesRoundTrip()
{
    Store store(Store::Kind::Data);
    const QString name = QStringLiteral("/home/u/O'Brien's 100%_final.doc");
    const QString renamed = QStringLiteral("/home/u/Ünïcode \"quoted\" 'x'.doc");
    QVERIFY(store.exec(QStringLiteral("insert into filedetails (Name, Location) values (") +
                       SqlText::literal(QStringLiteral("O'Brien's 100%_final")) + ',' +
                       SqlText::literal(name) + ')'));
    QCOMPARE(store
                 .value(QStringLiteral("select Name from filedetails where location=") +
                        SqlText::literal(name))
                 .toString(),
             QStringLiteral("O'Brien's 100%_final"));
    // like with the name as a pattern: % and _ must not act as wildcards.
    QCOMPARE(store
                 .value(QStringLiteral("select count(*) from filedetails where location like ") +
                        SqlText::literal(name))
                 .toInt(),
             1);
    QVERIFY(store.exec(QStringLiteral("update filedetails set location=") +
                       SqlText::literal(renamed) + QStringLiteral(" where location=") +
                       SqlText::literal(name)));
    QCOMPARE(store
                 .value(QStringLiteral("select count(*) from filedetails where location=") +
                        SqlText::literal(renamed))
                 .toInt(),
             1);
    QVERIFY(store.exec(QStringLiteral("delete from filedetails where location=") +
                       SqlText::literal(renamed)));
    QCOMPARE(store.value(QStringLiteral("select count(*) from filedetails")).toInt(), 0);
    QCOMPARE(SqlText::literal(QString()), QStringLiteral("NULL"));
}

void TestJetSql::functions()
{
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("select len('Ünï')")).toInt(), 3);
    QCOMPARE(store.value(QStringLiteral("select len(trim('  ab  '))")).toInt(), 2);
    QVERIFY(store.value(QStringLiteral("select len(NULL)")).isNull());
    QCOMPARE(store.value(QStringLiteral("select ucase('äb')")).toString(), QStringLiteral("ÄB"));
    QVERIFY(store.value(QStringLiteral("select month('not a date')")).isNull());
    // Reserved-looking column names of the stores work as written.
    QVERIFY(store.exec(QStringLiteral("update nv_setup set key='x'")));
    QCOMPARE(store.value(QStringLiteral("select key from nv_setup")).toString(),
             QStringLiteral("x"));
}

void TestJetSql::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    // Wall-clock values: the fields of a UTC date-time.
    const QDateTime day(QDate(2026, 12, 4), QTime(0, 0), Qt::UTC);
    QTest::newRow("canonical") << "2026-12-04 00:00:00" << day;
    QTest::newRow("with time") << "2026-12-04 13:05:09"
                               << QDateTime(QDate(2026, 12, 4), QTime(13, 5, 9), Qt::UTC);
    QTest::newRow("jet literal") << "04-Dec-2026" << day;
    QTest::newRow("us") << "12/4/2026" << day;
    QTest::newRow("two-digit year recent") << "04-Dec-26" << day;
    QTest::newRow("two-digit year old")
        << "04-Dec-95" << QDateTime(QDate(1995, 12, 4), QTime(0, 0), Qt::UTC);
    QTest::newRow("us with time") << "3/28/2021 1:30:00 AM"
                                  << QDateTime(QDate(2021, 3, 28), QTime(1, 30), Qt::UTC);
    QTest::newRow("iso with T") << "2021-03-28T01:30:00"
                                << QDateTime(QDate(2021, 3, 28), QTime(1, 30), Qt::UTC);
    QTest::newRow("canonical, no such day") << "2021-02-30 00:00:00" << QDateTime();
    QTest::newRow("canonical, no such hour") << "2021-02-03 24:00:00" << QDateTime();
    QTest::newRow("garbage") << "yesterday" << QDateTime();
}

void TestJetSql::datesInDaylightSavingGap_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    for (const char *zone : {"Europe/London", "America/New_York"}) {
        const char *gap =
            QByteArray(zone).startsWith("Europe") ? "2021-03-28 01:30:00" : "2021-03-14 02:30:00";
        QTest::addRow("%s year", zone)
            << zone << QStringLiteral("select year('%1')").arg(gap) << "2021";
        QTest::addRow("%s month", zone)
            << zone << QStringLiteral("select month('%1')").arg(gap) << "3";
        QTest::addRow("%s literal", zone)
            << zone << QStringLiteral("select #%1#").arg(gap) << QString::fromLatin1(gap);
    }
    QTest::newRow("jet literal in the gap") << "Europe/London"
                                            << "select day(#28-Mar-2021 01:30:00#)"
                                            << "28";
}

// Stored dates are wall-clock texts; read in the machine's time zone, a time in a
// daylight-saving gap was no time at all and gave NULL.
void TestJetSql::datesInDaylightSavingGap()
{
    QFETCH(QString, zone);
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", zone.toLatin1());
    tzset();
    Store store(Store::Kind::Data);
    const QString answer = store.value(sql).toString();
    if (previous.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", previous);
    tzset();
    QCOMPARE(answer, expected);
}

void TestJetSql::caseOfLongTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    const QString sharp(400000, QChar(0xDF));
    QTest::newRow("400k sharp s") << sharp << QString(800000, QLatin1Char('S')) << sharp;
    QString mixed;
    QString mixedUpper;
    for (int i = 0; i < 1000; ++i) {
        mixed += QStringLiteral("a\u00DF\U0001D41Ax");
        mixedUpper += QStringLiteral("ASS\U0001D41AX");
    }
    QTest::newRow("pairs across pieces") << mixed << mixedUpper << mixed;
    QTest::newRow("dotted capital I") << QString(300, QChar(0x130)) << QString(300, QChar(0x130))
                                      << QString(300, QChar(0x130)).toLower();
}

// Qt's case change costs the square of the length once a character becomes two: 7 s for
// 400k "ß". Through SQL, as a filter runs it.
void TestJetSql::caseOfLongTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("select ucase(") + SqlText::literal(text) + ')').toString(),
             upper);
    QCOMPARE(store.value(QStringLiteral("select lcase(") + SqlText::literal(text) + ')').toString(),
             lower);
}

void TestJetSql::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    QCOMPARE(JetSql::parseDate(text), expected);
}

QTEST_GUILESS_MAIN(TestJetSql)
#include "tst_JetSql.moc"
