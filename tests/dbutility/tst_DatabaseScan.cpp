// The database scan: exactly the databases of a made tree are found, typed by their content
// whatever their names and folders say; decoys, loops and unreadable folders do not stop it; a
// second scan adds nothing twice; a cancelled scan keeps whole favourites.

#include "DatabaseScanJob.h"
#include "DbTestFiles.h"
#include "FavouritesCatalogue.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QTest>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

Q_DECLARE_METATYPE(DbKind)

namespace
{

using Found = DatabaseFinder::Found;

QList<QPair<QString, DbKind>> pairs(const std::vector<Found> &found, const QString &root)
{
    QList<QPair<QString, DbKind>> list;
    for (const Found &file : found)
        list.append({QDir(root).relativeFilePath(file.path), file.kind});
    return list;
}

// Root reads any folder: while this lives, the thread's effective capabilities lack the two that
// bypass permissions on files, so an unreadable folder is unreadable for root too.
class WithoutFileCapabilities
{
public:
    WithoutFileCapabilities()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutFileCapabilities()
    {
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
    }
    bool dropped() const { return m_dropped; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

} // namespace

class tst_DatabaseScan : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QString m_root;

    // The tree: databases under misleading names and folders, decoys, a link loop.
    QList<QPair<QString, DbKind>> makeTree();

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void candidatesByName_data();
    void candidatesByName();
    void findsExactlyTheDatabases();
    void unreadableFolderIsSkipped();
    void nothingToFind_data();
    void nothingToFind();
    void secondScanSkipsWhatItAdded();
    void cancelledScanKeepsWholeFavourites();
};

QList<QPair<QString, DbKind>> tst_DatabaseScan::makeTree()
{
    m_root = m_env->scratch() + QStringLiteral("/tree");
    QDir root(m_root);
    for (const char *folder : {"a", "b/deeper/deepest", "mdb files", "decoys"})
        root.mkpath(QLatin1String(folder));
    MakePeopleDbf(root.filePath(QStringLiteral("a/people.dbf")), {{"Ann", 30, {}, 1}});
    QFile::copy(SamplesDir() + QStringLiteral("/dbf/dbase_30.dbf"),
                root.filePath(QStringLiteral("a/VISUAL.DBF")));
    CopySample(QStringLiteral("mdb/nwind.mdb"), root.filePath(QStringLiteral("b")));
    CopySample(QStringLiteral("mdb/ASampleDatabase.accdb"), root.filePath(QStringLiteral("b")));
    CopySample(QStringLiteral("paradox/ORDERS.DB"), root.filePath(QStringLiteral("b/deeper")));
    MakeUnkeyedParadox(root.filePath(QStringLiteral("b/deeper/deepest/loose.db")), {});
    // A folder whose name says Access holding a dBase table: the content decides.
    MakePeopleDbf(root.filePath(QStringLiteral("mdb files/names.dbf")), {});
    // Decoys: names that lie, and files that are no database at all.
    MakePeopleDbf(root.filePath(QStringLiteral("decoys/renamed.mdb")), {});
    MakeSqliteFile(root.filePath(QStringLiteral("decoys/app.db")));
    MakeSqliteFile(root.filePath(QStringLiteral("decoys/cache.sqlite")));
    WriteBytes(root.filePath(QStringLiteral("decoys/notes.dbf")), "name,age\nAnn,30\n");
    WriteBytes(root.filePath(QStringLiteral("decoys/empty.dbf")), "");
    WriteBytes(root.filePath(QStringLiteral("decoys/noise.mdb")), QByteArray(4096, '\x7F'));
    WriteBytes(root.filePath(QStringLiteral("decoys/table.csv")), "a,b\n1,2\n");
    MakePeopleDbf(root.filePath(QStringLiteral("decoys/no-extension")), {});
    // A link back to the top of the tree, and a link to a file found elsewhere already.
    QFile::link(m_root, root.filePath(QStringLiteral("b/deeper/loop")));
    return {
        {"a/VISUAL.DBF", DbKind::DBase},
        {"a/people.dbf", DbKind::DBase},
        {"b/ASampleDatabase.accdb", DbKind::Access},
        {"b/deeper/ORDERS.DB", DbKind::Paradox},
        {"b/deeper/deepest/loose.db", DbKind::Paradox},
        {"b/nwind.mdb", DbKind::Access},
        {"decoys/app.db", DbKind::SQLite},
        {"decoys/cache.sqlite", DbKind::SQLite},
        {"decoys/renamed.mdb", DbKind::DBase},
        {"mdb files/names.dbf", DbKind::DBase},
    };
}

void tst_DatabaseScan::candidatesByName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("candidate");
    QTest::newRow("dbf") << QByteArray("a.dbf") << true;
    QTest::newRow("upper case") << QByteArray("A.DBF") << true;
    QTest::newRow("accdb") << QByteArray("x.AccDB") << true;
    QTest::newRow("db") << QByteArray("x.db") << true;
    QTest::newRow("sqlite3") << QByteArray("x.sqlite3") << true;
    QTest::newRow("backup copy") << QByteArray("x.dbf.bak") << false;
    QTest::newRow("dbf in the middle") << QByteArray("x.dbf.txt") << false;
    QTest::newRow("no extension") << QByteArray("dbf") << false;
    QTest::newRow("dot db only") << QByteArray(".db") << true;
    QTest::newRow("memo file") << QByteArray("x.dbt") << false;
}

void tst_DatabaseScan::candidatesByName()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, candidate);
    QCOMPARE(DatabaseFinder::isCandidate(name), candidate);
}

void tst_DatabaseScan::findsExactlyTheDatabases()
{
    NUVELA_REQUIRE_SAMPLES();
    const QList<QPair<QString, DbKind>> expected = makeTree();
    QStringList folders;
    int candidates = 0;
    DatabaseFinder::Progress progress;
    progress.folderRead = [&folders](const QString &folder) { folders.append(folder); };
    progress.candidateRead = [&candidates] { ++candidates; };
    const std::vector<Found> found = DatabaseFinder::find(m_root, {}, progress);
    QCOMPARE(pairs(found, m_root), expected);
    // Every folder once, the loop not followed.
    QCOMPARE(folders.size(), 7);
    QCOMPARE(candidates, 13);
}

void tst_DatabaseScan::unreadableFolderIsSkipped()
{
    QDir root(m_env->scratch());
    root.mkpath(QStringLiteral("locked"));
    root.mkpath(QStringLiteral("open"));
    MakePeopleDbf(root.filePath(QStringLiteral("locked/hidden.dbf")), {});
    MakePeopleDbf(root.filePath(QStringLiteral("open/seen.dbf")), {});
    QFile::setPermissions(root.filePath(QStringLiteral("locked")), QFileDevice::Permissions());
    std::vector<Found> found;
    {
        const WithoutFileCapabilities unprivileged;
        if (geteuid() == 0 && !unprivileged.dropped())
            QSKIP("Running as root without a way to give up reading any folder");
        found = DatabaseFinder::find(m_env->scratch(), {});
    }
    QFile::setPermissions(root.filePath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(pairs(found, m_env->scratch()),
             (QList<QPair<QString, DbKind>>{{"open/seen.dbf", DbKind::DBase}}));
}

void tst_DatabaseScan::nothingToFind_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("summary");
    QTest::newRow("empty folder") << "empty"
                                  << "No database files were found in %1.";
    QTest::newRow("missing folder") << "missing"
                                    << "No database files were found in %1.";
    QTest::newRow("a file, not a folder") << "file.dbf"
                                          << "No database files were found in %1.";
}

void tst_DatabaseScan::nothingToFind()
{
    QFETCH(QString, folder);
    QFETCH(QString, summary);
    QDir(m_env->scratch()).mkpath(QStringLiteral("empty"));
    MakePeopleDbf(m_env->scratch() + QStringLiteral("/file.dbf"), {});
    const QString path = m_env->scratch() + QLatin1Char('/') + folder;
    DatabaseScanJob job(Store::defaultPath(Store::Kind::Data), path, {});
    job.runHere();
    QVERIFY(job.found().empty());
    QCOMPARE(job.added(), 0);
    QCOMPARE(job.summary(), summary.arg(path));
}

void tst_DatabaseScan::secondScanSkipsWhatItAdded()
{
    NUVELA_REQUIRE_SAMPLES();
    const QList<QPair<QString, DbKind>> expected = makeTree();
    const DatabaseScanJob::Colours colours{0xFFFFFF, 0xEEEEEE, 0x000080};
    {
        DatabaseScanJob job(Store::defaultPath(Store::Kind::Data), m_root, colours);
        job.runHere();
        QCOMPARE(job.added(), expected.size());
        QCOMPARE(job.skipped(), 0);
        QVERIFY2(job.failures().isEmpty(), qPrintable(job.failures().join('\n')));
        QCOMPARE(job.filesTotal(), expected.size());
        QCOMPARE(job.filesDone(), expected.size());
        QCOMPARE(job.summary(),
                 QStringLiteral("10 database files found in %1: 10 added to the favourites.")
                     .arg(m_root));
    }
    Store store(Store::Kind::Data);
    FavouritesCatalogue favourites(store);
    QMap<QString, QString> types;
    for (const FavouritesCatalogue::Favourite &favourite : favourites.favourites()) {
        types.insert(QDir(m_root).relativeFilePath(favourite.loc), favourite.dbtype);
        QCOMPARE(favourite.backColor, 0xFFFFFF);
        QCOMPARE(favourite.forColor, 0x000080);
    }
    QCOMPARE(types.size(), 10);
    QCOMPARE(types.value("decoys/renamed.mdb"), QStringLiteral("dBASE 5.0;"));
    QCOMPARE(types.value("decoys/app.db"), QStringLiteral("SQLite"));
    QCOMPARE(types.value("b/deeper/ORDERS.DB"), QStringLiteral("Paradox 5.x;"));
    QCOMPARE(types.value("mdb files/names.dbf"), QStringLiteral("dBASE 5.0;"));
    QCOMPARE(types.value("b/nwind.mdb"), QStringLiteral("Access"));
    // Access files remember all their tables, single-file tables themselves.
    QVERIFY(
        store.value(QStringLiteral("select count(*) from FavTable where dbpath like '*nwind.mdb'"))
            .toInt() > 5);
    QCOMPARE(store.column(
                 QStringLiteral("select tblname from FavTable where dbpath like '*renamed.mdb'")),
             QStringList{"renamed.mdb"});

    DatabaseScanJob again(Store::defaultPath(Store::Kind::Data), m_root, colours);
    again.runHere();
    QCOMPARE(again.added(), 0);
    QCOMPARE(again.skipped(), 10);
    QCOMPARE(again.summary(), QStringLiteral("10 database files found in %1: 0 added to the "
                                             "favourites, 10 skipped as already among them.")
                                  .arg(m_root));
    QCOMPARE(favourites.favourites().size(), 10);
}

void tst_DatabaseScan::cancelledScanKeepsWholeFavourites()
{
    QDir root(m_env->scratch());
    for (const char *name : {"one.dbf", "two.dbf", "three.dbf"})
        MakePeopleDbf(root.filePath(QLatin1String(name)), {{"Ann", 1, {}, 0}});
    DatabaseScanJob job(Store::defaultPath(Store::Kind::Data), m_env->scratch(), {});
    // Cancelled as soon as the first favourite is in: it stays, whole; no other is begun.
    connect(
        &job, &Job::filesCounted, &job, [&job](qint64) { job.cancel(); }, Qt::DirectConnection);
    job.runHere();
    QCOMPARE(job.added(), 1);
    QVERIFY(job.summary().endsWith(
        QStringLiteral("The scan was cancelled; the favourites added before it are kept.")));
    Store store(Store::Kind::Data);
    QCOMPARE(store.column(QStringLiteral("select dbname from favdbname")), QStringList{"one.dbf"});
    QCOMPARE(store.value(QStringLiteral("select count(*) from favfldname")).toInt(), 5);
}

QTEST_GUILESS_MAIN(tst_DatabaseScan)
#include "tst_DatabaseScan.moc"
