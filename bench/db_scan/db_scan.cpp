// Times the database scan's search beside find(1) on the same warm tree.
//
//   db_scan --make-tree DIR   makes DIR: 50,000 files in 1,000 folders, 500 of them databases
//                             (copies of the sample dBase, FoxPro, Paradox and Access files,
//                             some with upper-case extensions) and decoys with misleading names
//                             (text files named .dbf, dBase files named .mdb, SQLite files named
//                             .db), a link back to the top; what is a database of which type is
//                             written to DIR.expected. Then it scans, as below.
//   db_scan DIR               scans a tree made before and prints one line:
//   files=N databases_found=F databases_expected=E false_found=X scan_ms=A find_ms=B ratio=A/B
//
// scan_ms: DatabaseFinder over DIR (every folder read, every candidate's first bytes read and
// typed); find_ms: `find DIR -type f -printf '%s %p\n'` to /dev/null. Both run once to warm the
// tree, then three times each; the best run counts. databases_found counts files found with the
// type expected; false_found the files found that are no database or found with another type.
// Samples come from NUVELA_SAMPLES_DIR (the environment) or the checkout's ../shared/samples.

#include "DatabaseFinder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>

#include <sqlite3.h>

#include <cstdio>

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

QString samplesDir()
{
    const QString env = qEnvironmentVariable("NUVELA_SAMPLES_DIR");
    return env.isEmpty() ? QStringLiteral(NUVELA_SAMPLES_DIR) : env;
}

// A sample database, its companion files and its type's name in DIR.expected.
struct Sample {
    const char *file;
    const char *kind;
    QStringList companions;
};

const QList<Sample> &samples()
{
    static const QList<Sample> list = {
        {"dbf/dbase_03.dbf", "dBase", {}},
        {"dbf/dbase_83.dbf", "dBase", {"dbf/dbase_83.dbt"}},
        {"dbf/dbase_8b.dbf", "dBase", {"dbf/dbase_8b.dbt"}},
        {"dbf/people.dbf", "dBase", {}},
        {"dbf/cp1251.dbf", "dBase", {}},
        {"dbf/dbase_30.dbf", "dBase", {"dbf/dbase_30.fpt"}},
        {"dbf/dbase_f5.dbf", "dBase", {"dbf/dbase_f5.fpt"}},
        {"paradox/CUSTOMER.DB", "Paradox", {"paradox/CUSTOMER.MB", "paradox/CUSTOMER.PX"}},
        {"paradox/FILMS.DB", "Paradox", {"paradox/FILMS.PX"}},
        {"paradox/ORDERS.DB", "Paradox", {"paradox/ORDERS.PX"}},
        {"paradox/TypSammlung.DB", "Paradox", {"paradox/TypSammlung.MB", "paradox/TypSammlung.PX"}},
        {"mdb/nwind.mdb", "Access", {}},
        {"mdb/test2V2000.mdb", "Access", {}},
        {"mdb/DateTestDatabase.mdb", "Access", {}},
        {"mdb/ASampleDatabase.accdb", "Access", {}},
    };
    return list;
}

QString kindName(DbKind kind)
{
    switch (kind) {
    case DbKind::Access:
        return QStringLiteral("Access");
    case DbKind::DBase:
    case DbKind::FoxPro:
        return QStringLiteral("dBase");
    case DbKind::Paradox:
        return QStringLiteral("Paradox");
    case DbKind::SQLite:
        return QStringLiteral("SQLite");
    default:
        return QStringLiteral("none");
    }
}

bool makeSqlite(const QString &path)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "create table t (a text, b integer); insert into t values ('x', 1)",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Makes the tree and its list of expected databases, one step at a time.
class TreeMaker
{
public:
    TreeMaker(const QString &root, const QString &samples)
        : m_root(root), m_samples(samples), m_expectedFile(root + QStringLiteral(".expected"))
    {
    }

    int make()
    {
        if (QDir(m_root).exists() && !QDir(m_root).isEmpty())
            return fail(QStringLiteral("%1 exists and is not empty").arg(m_root));
        if (!QFile::exists(m_samples + QStringLiteral("/SOURCES.md")))
            return fail(QStringLiteral("the sample files are not at %1").arg(m_samples));
        if (!makeFolders() || !m_expectedFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(QStringLiteral("cannot write the tree at %1").arg(m_root));
        m_expected.setDevice(&m_expectedFile);
        if (!copyDatabases() || !addDecoys() || !fill())
            return fail(QStringLiteral("cannot write the files of %1").arg(m_root));
        QFile::link(m_root, m_root + QStringLiteral("/dept01/set01/loop"));
        return 0;
    }

private:
    static constexpr int TopFolders = 50, SubFolders = 20, Files = 50'000, Databases = 500,
                         Decoys = 20;

    bool makeFolders()
    {
        for (int t = 0; t < TopFolders; ++t) {
            for (int s = 0; s < SubFolders; ++s) {
                // Folder names that say a type: the type still comes from the content.
                const QString folder =
                    QStringLiteral("%1/dept%2/%3%4")
                        .arg(m_root)
                        .arg(t, 2, 10, QLatin1Char('0'))
                        .arg(s % 5 == 0 ? QStringLiteral("mdb_") : QStringLiteral("set"))
                        .arg(s, 2, 10, QLatin1Char('0'));
                if (!QDir().mkpath(folder))
                    return false;
                m_folders.append(folder);
            }
        }
        return true;
    }

    bool expect(const char *kind, const QString &path)
    {
        m_expected << kind << '\t' << path << '\n';
        ++m_files;
        return true;
    }

    bool copyDatabases()
    {
        for (int i = 0; i < Databases; ++i) {
            const Sample &sample = samples().at(i % samples().size());
            const QString folder = m_folders.at((i * 7) % m_folders.size());
            const QFileInfo source(m_samples + QLatin1Char('/') + QLatin1String(sample.file));
            // Every third copy with its extension in upper case.
            const QString suffix = i % 3 == 0 ? source.suffix().toUpper() : source.suffix();
            const QString base =
                QStringLiteral("%1/%2_%3").arg(folder, source.completeBaseName()).arg(i);
            if (!QFile::copy(source.filePath(), base + QLatin1Char('.') + suffix))
                return false;
            expect(sample.kind, base + QLatin1Char('.') + suffix);
            for (const QString &companion : sample.companions) {
                const QFileInfo extra(m_samples + QLatin1Char('/') + companion);
                QFile::copy(extra.filePath(), base + QLatin1Char('.') + extra.suffix());
                ++m_files;
            }
        }
        return true;
    }

    bool addDecoys()
    {
        m_sqlite = m_root + QStringLiteral("/dept00/app-source.sqlite3");
        if (!makeSqlite(m_sqlite))
            return false;
        expect("SQLite", m_sqlite);
        for (int i = 0; i < Decoys; ++i) {
            const QString folder = m_folders.at((i * 13 + 5) % m_folders.size());
            // A text file named .dbf: no database.
            QFile text(folder + QStringLiteral("/export%1.dbf").arg(i));
            if (!text.open(QIODevice::WriteOnly) || text.write("name,amount\nwidgets,12\n") < 0)
                return false;
            ++m_files;
            // A dBase table named .mdb, and a SQLite file named .db (not Paradox).
            const QString renamed = folder + QStringLiteral("/archive%1.mdb").arg(i);
            const QString sqlite = folder + QStringLiteral("/cache%1.db").arg(i);
            if (!QFile::copy(m_samples + QStringLiteral("/dbf/dbase_03.dbf"), renamed) ||
                !QFile::copy(m_sqlite, sqlite))
                return false;
            expect("dBase", renamed);
            expect("SQLite", sqlite);
        }
        return true;
    }

    // Ordinary files up to the total, of assorted names and sizes.
    bool fill()
    {
        static const char *const extensions[] = {"txt", "csv", "jpg", "doc",
                                                 "log", "xml", "dat", "bak"};
        QRandomGenerator random(16);
        const QByteArray filler(4096, 'x');
        for (int i = 0; m_files < Files; ++i, ++m_files) {
            QFile file(m_folders.at(i % m_folders.size()) +
                       QStringLiteral("/file%1.%2")
                           .arg(i, 5, 10, QLatin1Char('0'))
                           .arg(QLatin1String(extensions[i % 8])));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(filler.constData(), random.bounded(16, 4096)) < 0)
                return false;
        }
        return true;
    }

    QString m_root;
    QString m_samples;
    QFile m_expectedFile;
    QTextStream m_expected;
    QStringList m_folders;
    QString m_sqlite;
    int m_files = 0;
};

qint64 timeFind(const QString &root)
{
    QElapsedTimer clock;
    clock.start();
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-printf"), QStringLiteral("%s %p\n")});
    find.waitForFinished(-1);
    return clock.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool make = args.size() == 3 && args.at(1) == QLatin1String("--make-tree");
    if (!make && args.size() != 2)
        return fail(QStringLiteral("usage: db_scan [--make-tree] DIR"));
    const QString root = QDir(args.last()).absolutePath();
    if (make && TreeMaker(root, samplesDir()).make() != 0)
        return 1;

    QHash<QString, QString> expected;
    QFile expectedFile(root + QStringLiteral(".expected"));
    if (!expectedFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 is missing: make the tree with --make-tree")
                        .arg(expectedFile.fileName()));
    for (const QByteArray &line : expectedFile.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() == 2)
            expected.insert(QString::fromUtf8(parts.at(1)), QString::fromUtf8(parts.at(0)));
    }

    // Warm the tree for both, then the best of three.
    timeFind(root);
    std::vector<DatabaseFinder::Found> found = DatabaseFinder::find(root, {});
    qint64 findMs = std::numeric_limits<qint64>::max();
    qint64 scanMs = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        findMs = qMin(findMs, timeFind(root));
        QElapsedTimer clock;
        clock.start();
        found = DatabaseFinder::find(root, {});
        scanMs = qMin(scanMs, clock.elapsed());
    }

    int right = 0;
    int wrong = 0;
    for (const DatabaseFinder::Found &file : found) {
        if (expected.value(file.path) == kindName(file.kind))
            ++right;
        else
            ++wrong;
    }
    QProcess count;
    count.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
    count.waitForFinished(-1);
    const qsizetype files = count.readAllStandardOutput().count('\n');
    std::printf("files=%lld databases_found=%d databases_expected=%lld false_found=%d "
                "scan_ms=%lld find_ms=%lld ratio=%.2f\n",
                static_cast<long long>(files), right, static_cast<long long>(expected.size()),
                wrong, static_cast<long long>(scanMs), static_cast<long long>(findMs),
                findMs > 0 ? double(scanMs) / double(findMs) : 0.0);
    return 0;
}
