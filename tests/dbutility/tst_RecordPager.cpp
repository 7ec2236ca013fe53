// The record grid's rows read a page at a time: plain, sorted, filtered and grouped, on made
// tables and on every database sample.

#include "DbBrowser.h"
#include "DbTestFiles.h"
#include "RecordOrderJob.h"
#include "RecordPager.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace
{

QStringList columnTexts(const RecordPager &pager, int column)
{
    QStringList texts;
    for (int row = 0; row < pager.rowCount(); ++row)
        texts << pager.text(row, column);
    return texts;
}

// Opens every heading of a grouped pager.
void expandAll(RecordPager &pager)
{
    for (int row = 0; row < pager.rowCount(); ++row) {
        if (pager.outlineLevel(row) == 0 && pager.isCollapsed(row))
            pager.setCollapsed(row, false);
    }
}

} // namespace

class tst_RecordPager : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_people;

    std::unique_ptr<DbBrowser> openPeople(int rows);

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void plainOrderFillsInSteps();
    void pagesBeyondTheCacheReadAgain();
    void sortedBothWays_data();
    void sortedBothWays();
    void groupedHeadingsOpenAndClose();
    void filteredView();
    void frozenPagerReadsNothingNew();
    void cancelledBuildKeepsNothing();
    void missingFieldFails();
    void tablesWithoutRecordNumbers_data();
    void tablesWithoutRecordNumbers();
    void displayTexts();
    void orderJobOnItsThread();
    void typedTextsWaitForTheWrite();
    void typedTextsInTheGroupedView();
    void tableReadWholeIsNotEdited();
};

std::unique_ptr<DbBrowser> tst_RecordPager::openPeople(int rows)
{
    QList<QVariantList> values;
    for (int i = 0; i < rows; ++i)
        values.append({QStringLiteral("n%1").arg(i, 5, 10, QLatin1Char('0')), i % 7,
                       QStringLiteral("2001-02-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                       i % 2});
    // One more record, deleted: never shown.
    values.append({QStringLiteral("deleted"), 1, QVariant(), 1});
    m_people = MakePeopleDbf(m_env->scratch() + QStringLiteral("/people.dbf"), values, true);
    auto browser = std::make_unique<DbBrowser>();
    QString error;
    if (!browser->OpenSource(m_people, QString(), &error))
        qWarning("%s", qPrintable(error));
    browser->ListFields(QStringLiteral("people.dbf"));
    return browser;
}

void tst_RecordPager::plainOrderFillsInSteps()
{
    auto browser = openPeople(3000);
    QString error;
    auto pager = browser->makePager(browser->recordQuery(), &error);
    QVERIFY2(pager, qPrintable(error));
    QCOMPARE(pager->columnNames(), (QStringList{"NAME", "AGE", "BORN", "ACTIVE", "NOTE"}));
    QVERIFY(!pager->fillMore(RecordPager::PageRows, 1000));
    QCOMPARE(pager->rowCount(), RecordPager::PageRows);
    QCOMPARE(pager->text(0, 0), QStringLiteral("n00000"));
    QCOMPARE(pager->text(127, 1), QString::number(127 % 7));
    // Past the rows read so far there is nothing yet.
    QCOMPARE(pager->text(128, 0), QString());
    int steps = 1;
    while (!pager->fillMore(500, 1000))
        ++steps;
    QVERIFY(steps >= 6);
    QCOMPARE(pager->rowCount(), 3000);
    QCOMPARE(pager->recordCount(), 3000);
    QVERIFY(pager->isComplete());
    QCOMPARE(pager->text(2999, 0), QStringLiteral("n02999"));
    QVERIFY(!columnTexts(*pager, 0).contains(QStringLiteral("deleted")));
    QCOMPARE(pager->text(3000, 0), QString());
    QCOMPARE(pager->text(0, 9), QString());
    QCOMPARE(pager->query().text(), QStringLiteral("Select * from people.dbf  "));
}

void tst_RecordPager::pagesBeyondTheCacheReadAgain()
{
    auto browser = openPeople(7000);
    auto pager = browser->makePager(browser->recordQuery(), nullptr);
    QVERIFY(pager);
    pager->fillMore(100000, 10000);
    // Far more pages than are kept, read back and forth.
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = pass == 0 ? 0 : 6999; pass == 0 ? row < 7000 : row >= 0;
             row += pass == 0 ? 97 : -89)
            QCOMPARE(pager->text(row, 0), QStringLiteral("n%1").arg(row, 5, 10, QLatin1Char('0')));
    }
}

void tst_RecordPager::sortedBothWays_data()
{
    QTest::addColumn<bool>("descending");
    QTest::newRow("ascending") << false;
    QTest::newRow("descending") << true;
}

void tst_RecordPager::sortedBothWays()
{
    QFETCH(bool, descending);
    auto browser = openPeople(500);
    auto pager = browser->makePager(
        browser->recordQuery(QString(), QStringLiteral("AGE"), false, descending), nullptr);
    QVERIFY(pager);
    QString error;
    QVERIFY2(pager->buildAll({}, &error), qPrintable(error));
    QCOMPARE(pager->rowCount(), 500);
    QStringList ages = columnTexts(*pager, 1);
    QStringList expected = ages;
    std::sort(expected.begin(), expected.end(), [descending](const QString &a, const QString &b) {
        return descending ? a.toInt() > b.toInt() : a.toInt() < b.toInt();
    });
    QCOMPARE(ages, expected);
    QCOMPARE(pager->query().text(),
             descending ? QStringLiteral("Select * from people.dbf order by AGE desc")
                        : QStringLiteral("Select * from people.dbf order by AGE"));
}

void tst_RecordPager::groupedHeadingsOpenAndClose()
{
    auto browser = openPeople(70);
    auto pager =
        browser->makePager(browser->recordQuery(QString(), QStringLiteral("AGE"), true), nullptr);
    QVERIFY(pager);
    QVERIFY(pager->buildAll({}, nullptr));
    // Seven ages, each a closed heading.
    QCOMPARE(pager->groupCount(), 7);
    QCOMPARE(pager->rowCount(), 7);
    QCOMPARE(columnTexts(*pager, 0), (QStringList{"0", "1", "2", "3", "4", "5", "6"}));
    QCOMPARE(pager->text(0, 1), QString());
    QCOMPARE(pager->outlineLevel(3), 0);
    QVERIFY(pager->isCollapsed(3));
    QCOMPARE(pager->childRows(3), 10);
    QCOMPARE(pager->recordPosition(3), -1);
    pager->setCollapsed(3, false);
    QCOMPARE(pager->rowCount(), 17);
    for (int row = 4; row < 14; ++row) {
        QCOMPARE(pager->outlineLevel(row), -1);
        QCOMPARE(pager->text(row, 1), QStringLiteral("3"));
        QCOMPARE(pager->childRows(row), 0);
    }
    QCOMPARE(pager->text(14, 0), QStringLiteral("4"));
    QCOMPARE(pager->outlineLevel(14), 0);
    QCOMPARE(pager->recordPosition(4), 30);
    // The record itself: AGE 3 is every seventh, from the fourth record on.
    QCOMPARE(pager->recordNumber(4), 4);
    QCOMPARE(pager->recordNumber(5), 11);
    QCOMPARE(pager->recordNumber(3), -1);
    pager->setCollapsed(4, true); // a data row: nothing
    pager->setCollapsed(3, true);
    QCOMPARE(pager->rowCount(), 7);
    QCOMPARE(pager->recordCount(), 70);
}

void tst_RecordPager::filteredView()
{
    auto browser = openPeople(100);
    const QString where = browser->filterClause(QStringLiteral("AGE"), QStringLiteral("3"));
    QCOMPARE(where, QStringLiteral(" where AGE=3"));
    auto pager = browser->makePager(browser->recordQuery(where), nullptr);
    QVERIFY(pager);
    QVERIFY(pager->buildAll({}, nullptr));
    QCOMPARE(pager->rowCount(), 14);
    QCOMPARE(columnTexts(*pager, 1), QStringList(14, QStringLiteral("3")));
    QCOMPARE(pager->text(0, 0), QStringLiteral("n00003"));
    QCOMPARE(pager->query().text(), QStringLiteral("Select * from people.dbf   where AGE=3"));
}

void tst_RecordPager::frozenPagerReadsNothingNew()
{
    auto browser = openPeople(1000);
    auto pager = browser->makePager(browser->recordQuery(), nullptr);
    QVERIFY(pager);
    pager->fillMore(100000, 10000);
    QCOMPARE(pager->text(5, 0), QStringLiteral("n00005"));
    pager->freeze(true);
    QCOMPARE(pager->text(6, 0), QStringLiteral("n00006")); // the page read before
    QCOMPARE(pager->text(900, 0), QString());
    pager->freeze(false);
    QCOMPARE(pager->text(900, 0), QStringLiteral("n00900"));
}

void tst_RecordPager::cancelledBuildKeepsNothing()
{
    auto browser = openPeople(2000);
    auto pager =
        browser->makePager(browser->recordQuery(QString(), QStringLiteral("NAME")), nullptr);
    QVERIFY(pager);
    QString error = QStringLiteral("untouched");
    QVERIFY(!pager->buildAll([] { return true; }, &error));
    QVERIFY(error.isEmpty());
    QVERIFY(!pager->isComplete());
    QCOMPARE(pager->rowCount(), 0);
    // The connection answers again afterwards.
    auto again =
        browser->makePager(browser->recordQuery(QString(), QStringLiteral("NAME")), nullptr);
    QVERIFY(again && again->buildAll({}, nullptr));
    QCOMPARE(again->rowCount(), 2000);
}

void tst_RecordPager::missingFieldFails()
{
    auto browser = openPeople(3);
    QString error;
    QVERIFY(!browser->makePager(browser->recordQuery(QString(), QStringLiteral("NOPE")), &error));
    QVERIFY2(error.contains(QLatin1String("NOPE")), qPrintable(error));
    QVERIFY(!browser->makePager(browser->recordQuery(QStringLiteral(" where NOPE=1")), &error));
    QVERIFY(!error.isEmpty());
}

void tst_RecordPager::tablesWithoutRecordNumbers_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("view, plain") << "adults"
                                 << "" << QStringList{"Alice", "O'Neil", "alice"};
    QTest::newRow("view, sorted") << "adults"
                                  << "age" << QStringList{"Alice", "O'Neil", "alice"};
    QTest::newRow("without rowid, sorted") << "codes"
                                           << "code" << QStringList{"A", "B"};
}

void tst_RecordPager::tablesWithoutRecordNumbers()
{
    QFETCH(QString, table);
    QFETCH(QString, order);
    QFETCH(QStringList, first);
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.sqlite"));
    DbBrowser browser;
    QVERIFY(browser.OpenSource(path, QStringLiteral("SQLite"), nullptr));
    browser.ListFields(table);
    QString error;
    auto pager = browser.makePager(browser.recordQuery(QString(), order), &error);
    QVERIFY2(pager, qPrintable(error));
    QVERIFY(pager->buildAll({}, &error));
    QCOMPARE(columnTexts(*pager, 0), first);
    QCOMPARE(pager->recordNumber(0), -1);
    auto grouped =
        browser.makePager(browser.recordQuery(QString(), pager->columnNames().at(0), true), &error);
    QVERIFY2(grouped && grouped->buildAll({}, &error), qPrintable(error));
    QCOMPARE(grouped->groupCount(), first.size());
    expandAll(*grouped);
    QCOMPARE(grouped->rowCount(), 2 * first.size());
}

void tst_RecordPager::displayTexts()
{
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.db"));
    DbBrowser browser;
    QVERIFY(browser.OpenSource(path, QString(), nullptr));
    QCOMPARE(browser.typeText(), QStringLiteral("SQLite"));
    browser.ListFields(QStringLiteral("people"));
    auto pager = browser.makePager(browser.recordQuery(), nullptr);
    QVERIFY(pager);
    pager->fillMore(100, 1000);
    QCOMPARE(pager->text(0, 2), QStringLiteral("1994-03-12"));
    QCOMPARE(pager->text(0, 4), QStringLiteral("(3 bytes)"));
    QCOMPARE(pager->text(0, 5), QStringLiteral("9.5"));
    QCOMPARE(pager->text(2, 2), QString());
    // A dBase date at midnight shows as the date alone.
    auto people = openPeople(1);
    auto dbf = people->makePager(people->recordQuery(), nullptr);
    dbf->fillMore(10, 1000);
    QCOMPARE(dbf->text(0, 2), QStringLiteral("2001-02-01"));
    QCOMPARE(people->distinctValues(QStringLiteral("BORN")), QStringList{"2001-02-01"});
}

void tst_RecordPager::orderJobOnItsThread()
{
    auto browser = openPeople(400);
    auto pager = browser->makePager(
        browser->recordQuery(QString(), QStringLiteral("NAME"), false, true), nullptr);
    QVERIFY(pager);
    RecordOrderJob job(pager);
    QSignalSpy finished(&job, &Job::finished);
    job.start();
    QVERIFY(finished.wait(10000));
    QVERIFY(job.succeeded());
    QVERIFY(job.error().isEmpty());
    QCOMPARE(job.filesDone(), 400);
    QCOMPARE(pager->text(0, 0), QStringLiteral("n00399"));
}

void tst_RecordPager::typedTextsWaitForTheWrite()
{
    auto browser = openPeople(300);
    auto pager = browser->makePager(browser->recordQuery(), nullptr);
    QVERIFY(pager);
    pager->fillMore(100000, 10000);
    QVERIFY(!pager->isEditable(5, 0));
    QVERIFY(!pager->setText(5, 0, QStringLiteral("typed")));
    pager->setEditable(true);
    QVERIFY(pager->isEditable(5, 0));
    QVERIFY(!pager->isEditable(5, 5));
    QVERIFY(!pager->isEditable(300, 0));
    QVERIFY(pager->setText(5, 0, QStringLiteral("typed")));
    QVERIFY(pager->setText(5, 1, QStringLiteral("9")));
    QVERIFY(pager->setText(200, 0, QString()));
    QCOMPARE(pager->text(5, 0), QStringLiteral("typed"));
    QCOMPARE(pager->text(5, 2), QStringLiteral("2001-02-06"));
    QCOMPARE(pager->text(200, 0), QString());
    QCOMPARE(pager->pending().size(), size_t(2));
    QCOMPARE(pager->pending().at(6), (RecordPager::RowTexts{{0, "typed"}, {1, "9"}}));
    // Typing the stored text again is no change.
    QVERIFY(pager->setText(5, 1, QStringLiteral("5")));
    QCOMPARE(pager->pending().at(6), (RecordPager::RowTexts{{0, "typed"}}));
    QVERIFY(pager->setText(200, 0, QStringLiteral("n00200")));
    QCOMPARE(pager->pending().count(201), size_t(0));
    // Typed texts outlive the pages they show on.
    for (int row = 0; row < 300; row += 50)
        pager->text(row, 0);
    QCOMPARE(pager->text(5, 0), QStringLiteral("typed"));
    pager->dropPending();
    QVERIFY(!pager->hasPending());
    QCOMPARE(pager->text(5, 0), QStringLiteral("n00005"));
    QCOMPARE(pager->rowOf(6), 5);
    QCOMPARE(pager->rowOf(302), -1);
}

void tst_RecordPager::typedTextsInTheGroupedView()
{
    auto browser = openPeople(70);
    auto pager =
        browser->makePager(browser->recordQuery(QString(), QStringLiteral("AGE"), true), nullptr);
    QVERIFY(pager);
    QVERIFY(pager->buildAll({}, nullptr));
    pager->setEditable(true);
    // Headings are no records; a record folded under its heading shows on no row.
    QVERIFY(!pager->isEditable(3, 0));
    QVERIFY(!pager->setText(3, 0, QStringLiteral("x")));
    QCOMPARE(pager->rowOf(11), -1);
    pager->setCollapsed(3, false);
    QCOMPARE(pager->rowOf(4), 4);
    QCOMPARE(pager->rowOf(11), 5);
    QCOMPARE(pager->rowOf(1), -1);
    QVERIFY(pager->setText(5, 0, QStringLiteral("eleventh")));
    QCOMPARE(pager->pending().count(11), size_t(1));
    pager->setCollapsed(0, false);
    QCOMPARE(pager->rowOf(11), 15);
    QCOMPARE(pager->text(15, 0), QStringLiteral("eleventh"));
}

void tst_RecordPager::tableReadWholeIsNotEdited()
{
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.sqlite"));
    DbBrowser browser;
    QVERIFY(browser.OpenSource(path, QStringLiteral("SQLite"), nullptr));
    browser.ListFields(QStringLiteral("adults"));
    auto pager = browser.makePager(browser.recordQuery(), nullptr);
    QVERIFY(pager);
    QVERIFY(pager->buildAll({}, nullptr));
    pager->setEditable(true);
    QCOMPARE(pager->rowCount(), 3);
    QVERIFY(!pager->isEditable(0, 0));
    QVERIFY(!pager->setText(0, 0, QStringLiteral("x")));
    QCOMPARE(pager->rowOf(1), -1);
}

QTEST_GUILESS_MAIN(tst_RecordPager)
#include "tst_RecordPager.moc"
