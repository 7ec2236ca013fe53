#include "AppFolders.h"
#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QTest>

#include <sqlite3.h>

#include <thread>

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void missingStoresAreCreatedWithReferenceRows();
    void existingStoreIsNotReplaced();
    void writerInAnotherConnectionDelaysButDoesNotFail();
    void readersAreNotBlockedByAWriter();
    void corruptStoreFailsQuietly();
    void repairKeepsDataAndCopesWithMissingFile();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestStore::missingStoresAreCreatedWithReferenceRows()
{
    QVERIFY(!QFileInfo::exists(AppFolders::dataStorePath()));
    Store data(Store::Kind::Data);
    Store info(Store::Kind::Info);
    QVERIFY(data.isOpen());
    QVERIFY(info.isOpen());
    QVERIFY(QFileInfo::exists(AppFolders::dataStorePath()));
    QVERIFY(QFileInfo::exists(AppFolders::infoStorePath()));
    QVERIFY(AppFolders::dataStorePath().startsWith(m_env->programFolder()));

    QCOMPARE(data.value(QStringLiteral("select count(*) from nv_setup")).toInt(), 1);
    QCOMPARE(data.value(QStringLiteral("select key from nv_setup")).toString(), QString());
    QCOMPARE(data.value(QStringLiteral("select national from nv_setup")).toInt(), 0);
    const QStringList codes = {"UTL005", "UTL0015", "UTL0020", "UTL0029", "UTL0031",
                               "UTL0035", "UTL0037", "UTL0038", "UTL0060", "UTL0063"};
    for (const QString &code : codes) {
        const QString tip = data.value(QStringLiteral("Select * from nv_tooltip where Code=")
                                           + SqlText::literal(code),
                                       QStringLiteral("Tooltip"))
                                .toString();
        QVERIFY2(tip.size() > 20, qPrintable(code));
    }
    QVERIFY(data.value(QStringLiteral("select count(*) from FILECATEGORY")).toInt() >= 5);
    // Every category's list is in the "*.ext,*.ext" form the category rule reads.
    QSqlQuery q = data.query(QStringLiteral("Select Fileext from FileCategory"));
    while (q.next()) {
        for (const QString &ext : q.value(0).toString().split(','))
            QVERIFY2(ext.trimmed().startsWith(QLatin1String("*.")), qPrintable(ext));
    }
}

void TestStore::existingStoreIsNotReplaced()
{
    {
        Store data(Store::Kind::Data);
        QVERIFY(data.exec(QStringLiteral("update nv_setup set key='notebook'")));
    }
    QVERIFY(Store::createIfMissing(Store::Kind::Data, AppFolders::dataStorePath()));
    Store again(Store::Kind::Data);
    QCOMPARE(again.value(QStringLiteral("select key from nv_setup")).toString(),
             QStringLiteral("notebook"));
}

// A sibling program writing the store: our write waits for it instead of failing.
void TestStore::writerInAnotherConnectionDelaysButDoesNotFail()
{
    Store store(Store::Kind::Data);
    sqlite3 *sibling = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(AppFolders::dataStorePath()).constData(), &sibling),
             SQLITE_OK);
    QCOMPARE(sqlite3_exec(sibling, "BEGIN IMMEDIATE; update nv_setup set key='dbutility';",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    std::thread release([sibling] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(sibling, "COMMIT", nullptr, nullptr, nullptr);
    });
    const bool written = store.exec(QStringLiteral("update nv_setup set key=''"));
    release.join();
    sqlite3_close(sibling);
    QVERIFY2(written, qPrintable(store.lastError()));
    QCOMPARE(store.value(QStringLiteral("select key from nv_setup")).toString(), QString());
}

void TestStore::readersAreNotBlockedByAWriter()
{
    Store first(Store::Kind::Data);
    QVERIFY(first.transaction());
    QVERIFY(first.exec(QStringLiteral("update nv_setup set key='form1'")));
    Store second(Store::Kind::Data);
    QVERIFY(second.isOpen());
    // The write is not committed: the reader sees the old row at once.
    QCOMPARE(second.value(QStringLiteral("select key from nv_setup")).toString(), QString());
    QVERIFY(first.commit());
    QCOMPARE(second.value(QStringLiteral("select key from nv_setup")).toString(),
             QStringLiteral("form1"));
}

void TestStore::corruptStoreFailsQuietly()
{
    QFile file(AppFolders::dataStorePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'Z'));
    file.close();
    Store store(Store::Kind::Data);
    QVERIFY(!store.value(QStringLiteral("select * from nv_setup")).isValid());
    QVERIFY(!store.exec(QStringLiteral("update nv_setup set key=''")));
    QVERIFY(!store.lastError().isEmpty());
    // The broken file is the user's: it is neither replaced nor emptied.
    QCOMPARE(QFileInfo(AppFolders::dataStorePath()).size(), 4096);
}

void TestStore::repairKeepsDataAndCopesWithMissingFile()
{
    Store::repair(AppFolders::dataStorePath()); // missing: nothing happens
    QVERIFY(!QFileInfo::exists(AppFolders::dataStorePath()));
    {
        Store store(Store::Kind::Data);
        QVERIFY(store.exec(QStringLiteral("insert into pda_Keyword1 (keyword) values ('kept')")));
    }
    Store::repair(AppFolders::dataStorePath());
    Store store(Store::Kind::Data);
    QCOMPARE(store.value(QStringLiteral("Select keyword from pda_Keyword1")).toString(),
             QStringLiteral("kept"));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_Store.moc"
