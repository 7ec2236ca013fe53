// The favourites catalogue in the data store, and favourites added from files.

#include "DbBrowser.h"
#include "DbTestFiles.h"
#include "SqlText.h"
#include "TestEnvironment.h"

#include <QTest>

namespace
{

int count(const Store &store, const QString &sql)
{
    return store.value(sql).toInt();
}

QStringList column(const Store &store, const QString &sql)
{
    return store.column(sql);
}

} // namespace

class tst_Favourites : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void cleanUpRemovesBlankAndMissing_data();
    void cleanUpRemovesBlankAndMissing();
    void singleTableReplacesTheFavouritesFields();
    void marksAndVisibilityTouchOneField();
    void quotesInPathsAndNames();
    void everySampleBecomesAFavourite_data();
    void everySampleBecomesAFavourite();
    void choosingAFileAgainForgetsItsMarks();
    void sqliteFavourite();
    void unreadableFilesAreNotAdded_data();
    void unreadableFilesAreNotAdded();
};

void tst_Favourites::cleanUpRemovesBlankAndMissing_data()
{
    QTest::addColumn<QString>("loc");
    QTest::addColumn<bool>("kept");
    QTest::newRow("null") << QString() << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("missing file") << "/no/such/folder/x.dbf" << false;
    QTest::newRow("existing file") << "exists" << true;
}

void tst_Favourites::cleanUpRemovesBlankAndMissing()
{
    QFETCH(QString, loc);
    QFETCH(bool, kept);
    if (loc == QLatin1String("exists"))
        loc = m_env->writeFile(QStringLiteral("db/here.dbf"));
    DbBrowser browser;
    const Store &store = browser.store();
    const QString other = m_env->writeFile(QStringLiteral("db/other.dbf"));
    browser.favourites().append({QStringLiteral("other.dbf"), QStringLiteral("dBASE 5.0;"), other});
    QVERIFY(store.exec(QStringLiteral("insert into favdbname(dbname, Loc) values('x', %1)")
                           .arg(SqlText::literal(loc))));
    browser.favourites().RememberSingleTable(loc, QStringLiteral("x.dbf"), {"A", "B"});
    QVERIFY(store.exec(QStringLiteral("insert into favchoices values(%1, 'x.dbf', 'A', 'one')")
                           .arg(SqlText::literal(loc.isNull() ? QString("") : loc))));
    browser.favourites().cleanUp();
    QCOMPARE(count(store, QStringLiteral("select count(*) from favdbname")), kept ? 2 : 1);
    QCOMPARE(column(store, QStringLiteral("select Loc from favdbname")).first(), other);
    const bool hadPath = !loc.trimmed().isEmpty();
    // Tables and fields go with a missing file; rows without a path take nothing else with them.
    QCOMPARE(count(store, QStringLiteral("select count(*) from favfldname")),
             kept || !hadPath ? 2 : 0);
    QCOMPARE(count(store, QStringLiteral("select count(*) from FavTable")), kept || !hadPath);
    QCOMPARE(count(store, QStringLiteral("select count(*) from favchoices")), 1);
}

void tst_Favourites::singleTableReplacesTheFavouritesFields()
{
    DbBrowser browser;
    FavouritesCatalogue &favourites = browser.favourites();
    favourites.RememberFields(QStringLiteral("/d/a.dbf"), QStringLiteral("old.dbf"), {"X"});
    favourites.RememberFields(QStringLiteral("/d/b.dbf"), QStringLiteral("b.dbf"), {"Y"});
    favourites.RememberSingleTable(QStringLiteral("/d/a.dbf"), QStringLiteral("a.dbf"),
                                   {"ID", "NAME", "CITY"});
    QCOMPARE(column(browser.store(),
                    QStringLiteral("select FieldName from favfldname where dbpath='/d/a.dbf' "
                                   "order by rowid")),
             (QStringList{"ID", "NAME", "CITY"}));
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from favfldname where "
                                                   "dbpath='/d/b.dbf'")),
             1);
    const QList<FavouritesCatalogue::FieldMark> marks =
        favourites.fieldMarks(QStringLiteral("/d/a.dbf"), QStringLiteral("a.dbf"));
    QCOMPARE(marks.size(), 3);
    for (const FavouritesCatalogue::FieldMark &mark : marks) {
        QVERIFY(!mark.marked);
        QVERIFY(mark.visible);
    }
}

void tst_Favourites::marksAndVisibilityTouchOneField()
{
    DbBrowser browser;
    FavouritesCatalogue &favourites = browser.favourites();
    const QString path = QStringLiteral("/d/a.dbf");
    const QString table = QStringLiteral("a.dbf");
    favourites.RememberSingleTable(path, table, {"ID", "NAME", "CITY"});
    favourites.RememberSingleTable(QStringLiteral("/d/b.dbf"), QStringLiteral("b.dbf"), {"NAME"});
    favourites.SetMarked(path, table, QStringLiteral("name"), true);
    favourites.SetMarked(path, table, QStringLiteral("CITY"), true);
    favourites.setVisible(path, table, QStringLiteral("CITY"), false);
    QCOMPARE(favourites.markedFields(path, table, false), (QStringList{"NAME", "CITY"}));
    QCOMPARE(favourites.markedFields(path, table, true), (QStringList{"NAME"}));
    QVERIFY(favourites.markedFields(QStringLiteral("/d/b.dbf"), QStringLiteral("b.dbf"), false)
                .isEmpty());
    favourites.SetMarked(path, table, QStringLiteral("NAME"), false);
    favourites.setVisible(path, table, QStringLiteral("CITY"), true);
    QCOMPARE(favourites.markedFields(path, table, true), (QStringList{"CITY"}));
    QCOMPARE(FavouritesCatalogue::markedFieldsText(path, table, true),
             QStringLiteral(" select * from favFldname where dbpath='/d/a.dbf' and tblname='a.dbf' "
                            "and mselected=true and vselected=true"));
}

void tst_Favourites::quotesInPathsAndNames()
{
    DbBrowser browser;
    FavouritesCatalogue &favourites = browser.favourites();
    const QString path = QStringLiteral("/it's/O'Neil's.dbf");
    favourites.append({QStringLiteral("O'Neil's.dbf"), QStringLiteral("dBASE 5.0;"), path});
    favourites.RememberSingleTable(path, QStringLiteral("O'Neil's.dbf"), {"it's", "NAME"});
    favourites.SetMarked(path, QStringLiteral("O'Neil's.dbf"), QStringLiteral("it's"), true);
    favourites.setColour(path, FavouritesCatalogue::Colour::Fore, 255);
    QCOMPARE(favourites.favourites().value(0).loc, path);
    QCOMPARE(favourites.favourites().value(0).forColor, 255);
    QCOMPARE(favourites.markedFields(path, QStringLiteral("O'Neil's.dbf"), true),
             QStringList{"it's"});
    favourites.RemoveFavourite(path);
    QVERIFY(favourites.favourites().isEmpty());
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from favfldname")), 0);
}

void tst_Favourites::everySampleBecomesAFavourite_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QString>("table");
    for (const SampleDatabase &sample : DatabaseSamples())
        QTest::newRow(qPrintable(sample.file)) << sample.file << sample.typeText << sample.table;
}

void tst_Favourites::everySampleBecomesAFavourite()
{
    NUVELA_REQUIRE_SAMPLES();
    QFETCH(QString, file);
    QFETCH(QString, typeText);
    QFETCH(QString, table);
    const QString path = CopySample(file, m_env->scratch());
    DbBrowser browser;
    const DbBrowser::Added added = browser.AddFavourite(path, 0xFFFFFF, 0xF0F0F0, 0);
    QVERIFY2(added.ok, qPrintable(added.message));
    const QList<FavouritesCatalogue::Favourite> rows = browser.favourites().favourites();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].dbname, QFileInfo(path).fileName());
    QCOMPARE(rows[0].dbtype, typeText);
    QCOMPARE(rows[0].loc, path);
    QCOMPARE(rows[0].backColorA, 0xF0F0F0);
    // Every table is remembered with its fields in order, nothing marked.
    QVERIFY(browser.OpenSource(path, rows[0].dbtype, nullptr));
    const QStringList tables = browser.tables();
    QVERIFY(tables.contains(table));
    QCOMPARE(column(browser.store(), QStringLiteral("select tblname from FavTable order by rowid")),
             tables);
    for (const QString &name : tables) {
        QStringList expected;
        for (const FieldInfo &field : browser.ListFields(name))
            expected << field.name;
        QStringList remembered;
        for (const FavouritesCatalogue::FieldMark &mark : browser.fieldMarks()) {
            QVERIFY(!mark.marked && mark.visible);
            remembered << mark.fieldName;
        }
        QCOMPARE(remembered, expected);
    }
}

void tst_Favourites::choosingAFileAgainForgetsItsMarks()
{
    NUVELA_REQUIRE_SAMPLES();
    const QString path = CopySample(QStringLiteral("dbf/dbase_8b.dbf"), m_env->scratch());
    DbBrowser browser;
    QVERIFY(browser.AddFavourite(path, 1, 2, 3).ok);
    browser.favourites().SetMarked(path, QStringLiteral("dbase_8b.dbf"), QStringLiteral("DATE"),
                                   true);
    QVERIFY(browser.AddFavourite(path, 4, 5, 6).ok);
    QCOMPARE(browser.favourites().favourites().size(), 1);
    QCOMPARE(browser.favourites().favourites().value(0).backColor, 4);
    QVERIFY(
        browser.favourites().markedFields(path, QStringLiteral("dbase_8b.dbf"), false).isEmpty());
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from FavTable")), 1);
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from favfldname")), 6);
}

void tst_Favourites::sqliteFavourite()
{
    const QString path = MakeSqliteFile(m_env->scratch() + QStringLiteral("/shop.db"));
    DbBrowser browser;
    const DbBrowser::Added added = browser.AddFromFileManager(path, 1, 1, 1);
    QVERIFY2(added.ok, qPrintable(added.message));
    QCOMPARE(added.favourite.dbtype, QStringLiteral("SQLite"));
    QCOMPARE(column(browser.store(), QStringLiteral("select tblname from FavTable order by rowid")),
             (QStringList{"people", "codes"}));
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from favfldname where "
                                                   "tblname='people'")),
             6);
}

void tst_Favourites::unreadableFilesAreNotAdded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("damaged dBase")
        << "broken.dbf" << QByteArray("\x03\x01\x02\x03garbage", 11) << "broken.dbf";
    QTest::newRow("damaged Access")
        << "broken.mdb" << QByteArray(5000, '\0') << "broken.mdb is not an Access database";
    QTest::newRow("not a database") << "notes.bin" << QByteArray("\x01\x02", 2)
                                    << "notes.bin is not a database file this program can open";
    QTest::newRow("missing") << "" << QByteArray() << "gone.dbf does not exist";
}

void tst_Favourites::unreadableFilesAreNotAdded()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = name.isEmpty() ? m_env->scratch() + QStringLiteral("/gone.dbf")
                                        : m_env->writeFile(name, content);
    DbBrowser browser;
    const DbBrowser::Added added = browser.AddFavourite(path, 1, 1, 1);
    QVERIFY(!added.ok);
    QVERIFY2(added.message.contains(message), qPrintable(added.message));
    QVERIFY(browser.favourites().favourites().isEmpty());
    QCOMPARE(count(browser.store(), QStringLiteral("select count(*) from FavTable")), 0);
}

QTEST_GUILESS_MAIN(tst_Favourites)
#include "tst_Favourites.moc"
