#include "CatalogueReader.h"
#include "CatalogueScanJob.h"
#include "CategoryRules.h"
#include "DateRanges.h"
#include "ExtensionList.h"
#include "FileSearchJob.h"
#include "FolderReader.h"
#include "JetSql.h"
#include "LocalTime.h"
#include "NamePattern.h"
#include "RowFilter.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <ctime>

#include <unistd.h>

// The File organizer's logic without a window: categories, filters, patterns, the folder
// reader and the catalogue scan on real temporary trees.
class tst_FileOrganizerCore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    QString storePath() const { return m_env->programFolder() + QStringLiteral("/nuveladata.dll"); }

    // Catalogue rows keyed by Location: "Name|ext|Group|Size|Attribute".
    QMap<QString, QString> catalogue() const
    {
        Store store(Store::Kind::Data, storePath());
        QSqlQuery query = store.query(QStringLiteral("Select * from filedetails"));
        QMap<QString, QString> rows;
        while (query.next()) {
            const QString name =
                query.value(0).isNull() ? QStringLiteral("<null>") : query.value(0).toString();
            rows.insert(query.value(QStringLiteral("Location")).toString(),
                        QStringList{name, query.value(1).toString(), query.value(2).toString(),
                                    query.value(5).toString(), query.value(7).toString()}
                            .join(QLatin1Char('|')));
        }
        return rows;
    }

    bool scan(const QString &folder, CatalogueScanJob::Mode mode, bool clear = false)
    {
        CatalogueScanJob job(storePath(), folder, mode);
        job.setClearFirst(clear);
        job.runHere();
        return job.succeeded();
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void categoryOfExtension_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("group");
        QTest::newRow("listed") << "doc"
                                << "Document";
        QTest::newRow("case does not matter") << "JPG"
                                              << "Picture";
        QTest::newRow("prefix of a listed extension") << "do"
                                                      << "Document";
        QTest::newRow("first row wins") << "d"
                                        << "Document";
        QTest::newRow("no dot") << ""
                                << "Others";
        QTest::newRow("unknown") << "qqq"
                                 << "Others";
        QTest::newRow("longer than listed") << "docxx"
                                            << "Others";
        QTest::newRow("wildcard taken literally") << "*"
                                                  << "Others";
        QTest::newRow("bracket taken literally") << "["
                                                 << "Others";
        QTest::newRow("quote") << "o'k"
                               << "Others";
    }

    void categoryOfExtension()
    {
        QFETCH(QString, ext);
        QFETCH(QString, group);
        Store store(Store::Kind::Data, storePath());
        CategoryRules rules(store);
        QCOMPARE(rules.groupOf(ext), group);
        // Remembered answers stay the same.
        QCOMPARE(rules.groupOf(ext), group);
    }

    void categoryMatchesTheStoresOwnQuery()
    {
        // The answer worked out once per extension is the one the per-file query gives.
        Store store(Store::Kind::Data, storePath());
        CategoryRules rules(store);
        for (const QString ext : {"doc", "do", "p", "xl", "mp", "tar", "g", "zz", "s"}) {
            const QVariant first = store.value(
                QStringLiteral("select FolderType from filecategory where fileext like '**.") +
                ext + QStringLiteral("*'"));
            QCOMPARE(rules.groupOf(ext),
                     first.isValid() ? first.toString() : CategoryRules::others());
        }
    }

    void extensionPatternsSplitEveryList()
    {
        CategoryRules rules({{"A", "*.txt, *.doc", {}}, {"B", "*.doc,*.pdf,", {}}, {"C", {}, {}}});
        QCOMPARE(rules.extensionPatterns(), (QStringList{"*.txt", "*.doc", "*.pdf"}));
    }

    void dateRangeSpans_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("days");
        QTest::newRow("all") << "All" << 0;
        QTest::newRow("day") << "Last During 1 Day" << 1;
        QTest::newRow("week") << "Last 1 Week" << 7;
        QTest::newRow("month") << "Last 1 Month" << 30;
        QTest::newRow("2 months") << "Last 2 Month" << 60;
        QTest::newRow("3 months") << "Last 3 Month" << 90;
        QTest::newRow("6 months") << "Last 6 Month" << 180;
        QTest::newRow("year") << "Last 1 Year" << 365;
        QTest::newRow("unknown text") << "Last 2 Years" << 0;
        QTest::newRow("case differs") << "last 1 week" << 0;
    }

    void dateRangeSpans()
    {
        QFETCH(QString, entry);
        QFETCH(int, days);
        QCOMPARE(DateRanges::days(entry), days);
    }

    void dateRangeOrder()
    {
        QCOMPARE(DateRanges::entries(),
                 (QStringList{"All", "Last During 1 Day", "Last 1 Week", "Last 1 Month",
                              "Last 2 Month", "Last 3 Month", "Last 6 Month", "Last 1 Year"}));
    }

    void dateFilterTable_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("extBox");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("ageDays"); // -1: empty date cell
        QTest::addColumn<bool>("pass");
        QTest::addColumn<bool>("shown");
        // days 0, no category, any extension: every row.
        QTest::newRow("all rows") << 0 << "*.*"
                                  << ""
                                  << "txt"
                                  << "" << 400 << true << true;
        QTest::newRow("all rows, empty date") << 0 << "*.*"
                                              << ""
                                              << "txt"
                                              << "" << -1 << true << true;
        QTest::newRow("date only, inside") << 7 << "*.*"
                                           << ""
                                           << "txt"
                                           << "" << 6 << true << true;
        QTest::newRow("date only, at the cutoff day") << 7 << "*.*"
                                                      << ""
                                                      << "txt"
                                                      << "" << 7 << true << true;
        QTest::newRow("date only, before the cutoff") << 7 << "*.*"
                                                      << ""
                                                      << "txt"
                                                      << "" << 8 << true << false;
        QTest::newRow("date only, empty cell") << 7 << "*.*"
                                               << ""
                                               << "txt"
                                               << "" << -1 << true << false;
        QTest::newRow("yesterday counts for one day") << 1 << "*.*"
                                                      << ""
                                                      << "txt"
                                                      << "" << 1 << true << true;
        QTest::newRow("ext and date") << 30 << "*.TXT"
                                      << ""
                                      << "txt"
                                      << "" << 3 << true << true;
        QTest::newRow("ext and date, other ext") << 30 << "*.TXT"
                                                 << ""
                                                 << "doc"
                                                 << "" << 3 << true << false;
        QTest::newRow("ext, group, date") << 30 << "*.TXT"
                                          << "Document"
                                          << "TxT"
                                          << "Document" << 3 << true << true;
        QTest::newRow("ext, group, date: group differs") << 30 << "*.TXT"
                                                         << "Document"
                                                         << "txt"
                                                         << "Music" << 3 << true << false;
        QTest::newRow("group only") << 0 << "*.*"
                                    << "Music"
                                    << "mp3"
                                    << "Music" << 900 << true << true;
        QTest::newRow("group only, differs") << 0 << "*.*"
                                             << "Music"
                                             << "mp3"
                                             << "Document" << 1 << true << false;
        QTest::newRow("group and date") << 60 << "*.*"
                                        << "Music"
                                        << "mp3"
                                        << "Music" << 61 << true << false;
        QTest::newRow("no pass with an extension and no days") << 0 << "*.TXT"
                                                               << ""
                                                               << "doc"
                                                               << "" << 1 << false << true;
        QTest::newRow("no pass, category given") << 0 << "*.TXT"
                                                 << "Music"
                                                 << "doc"
                                                 << "" << 1 << false << true;
    }

    void dateFilterTable()
    {
        QFETCH(int, days);
        QFETCH(QString, extBox);
        QFETCH(QString, category);
        QFETCH(QString, ext);
        QFETCH(QString, group);
        QFETCH(int, ageDays);
        QFETCH(bool, pass);
        QFETCH(bool, shown);
        const QDate today(2024, 5, 20);
        const RowFilter filter = RowFilter::dateFilter(days, extBox, category, today);
        QCOMPARE(filter.pass() == RowFilter::Pass::Rows, pass);
        // A time late in the day of the row's age: the cutoff is a midnight.
        const qint64 date =
            ageDays < 0 ? std::numeric_limits<qint64>::min()
                        : QDateTime(today.addDays(-ageDays), QTime(0, 0)).toMSecsSinceEpoch();
        if (pass)
            QCOMPARE(filter.accepts(ext, group, date), shown);
    }

    void extensionList_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("every row") << "" << QStringList{"*.*", "*.JPG", "*.TXT", "*.GZ"};
        QTest::newRow("All") << "All" << QStringList{"*.*", "*.JPG", "*.TXT", "*.GZ"};
        QTest::newRow("one category") << "Picture" << QStringList{"*.*", "*.JPG"};
        QTest::newRow("category without rows") << "Music" << QStringList{"*.*"};
    }

    void extensionList()
    {
        QFETCH(QString, category);
        QFETCH(QStringList, items);
        ExtensionList list(category);
        list.add("jpg", "Picture");
        list.add("", "Others");
        list.add("txt", "Document");
        list.add("JPG", "Picture");
        list.add("Jpg", "Picture");
        list.add("gz", "Archive");
        QCOMPARE(list.items(), items);
    }

    void extensionCondition_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("match");
        QTest::newRow("any") << "doc"
                             << "*.*" << true;
        QTest::newRow("lower against upper") << "jpg"
                                             << "*.JPG" << true;
        QTest::newRow("upper") << "JPG"
                               << "*.JPG" << true;
        QTest::newRow("other") << "jpeg"
                               << "*.JPG" << false;
        QTest::newRow("empty ext") << ""
                                   << "*.JPG" << false;
    }

    void extensionCondition()
    {
        QFETCH(QString, ext);
        QFETCH(QString, box);
        QFETCH(bool, match);
        QCOMPARE(RowFilter::extensionMatches(ext, box), match);
        QCOMPARE(RowFilter::extensionFilter(box, QString()).accepts(ext, QString(), 0), match);
    }

    void namePatterns_data()
    {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("match");
        QTest::newRow("extension") << "*.txt"
                                   << "notes.TXT" << true;
        QTest::newRow("extension, other") << "*.txt"
                                          << "notes.txt.bak" << false;
        QTest::newRow("several") << "*.doc; *.md"
                                 << "README.md" << true;
        QTest::newRow("several, none") << "*.doc;*.md"
                                       << "a.pdf" << false;
        QTest::newRow("question mark") << "a?c.*"
                                       << "abc.x" << true;
        QTest::newRow("question mark needs one") << "a?c.*"
                                                 << "ac.x" << false;
        QTest::newRow("star dot star without a dot") << "*.*"
                                                     << "Makefile" << true;
        QTest::newRow("blank") << "  "
                               << "a" << false;
        QTest::newRow("empty parts ignored") << ";;*.c;"
                                             << "x.c" << true;
        QTest::newRow("brackets and quotes") << "o'*"
                                             << "o'brien [1].txt" << true;
    }

    void namePatterns()
    {
        QFETCH(QString, patterns);
        QFETCH(QString, name);
        QFETCH(bool, match);
        QCOMPARE(NamePattern(patterns).matches(name), match);
    }

    void canonicalTextMatchesTheStoreLayer()
    {
        for (const QDateTime &when : {QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)),
                                      QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0)),
                                      QDateTime(QDate(2030, 7, 1), QTime(12, 30, 5))}) {
            const QString text = LocalTime::canonicalText(when.toMSecsSinceEpoch());
            QCOMPARE(text, JetSql::canonicalDate(when));
            QCOMPARE(LocalTime::msecsOfText(text, -1), when.toMSecsSinceEpoch());
        }
        QCOMPARE(LocalTime::msecsOfText(QString(), -7), qint64(-7));
        QCOMPARE(LocalTime::msecsOfText(QStringLiteral("no date"), -7), qint64(-7));
    }

    void folderReaderAttributes()
    {
        const QString plain = m_env->writeFile("attr/plain.txt", "12345");
        m_env->writeFile("attr/.dot");
        m_env->writeFile("attr/listed.txt");
        m_env->writeFile("attr/.hidden", "listed.txt\n");
        const QString locked = m_env->writeFile("attr/locked.txt");
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup);
        QDir(m_env->scratch()).mkpath("attr/sub");
        QFile::link(m_env->scratch() + "/attr/missing", m_env->scratch() + "/attr/dangling");
        QFile::link(plain, m_env->scratch() + "/attr/linked.txt");

        std::vector<FileEntry> entries;
        QVERIFY(FolderReader::read(m_env->scratch() + "/attr", entries));
        QMap<QString, int> attributes;
        QMap<QString, qint64> sizes;
        for (const FileEntry &entry : entries) {
            attributes.insert(entry.name(), entry.attributes);
            sizes.insert(entry.name(), entry.size);
        }
        QCOMPARE(attributes.value("plain.txt"), 32);
        QCOMPARE(sizes.value("plain.txt"), qint64(5));
        QCOMPARE(attributes.value(".dot"), 34);
        QCOMPARE(attributes.value("listed.txt"), 34);
        QCOMPARE(attributes.value("locked.txt"), 33);
        QCOMPARE(attributes.value("sub"), 16);
        QCOMPARE(attributes.value("linked.txt"), 32);
        QCOMPARE(sizes.value("linked.txt"), qint64(5));
        QVERIFY2(!attributes.contains("dangling"), "a dangling link is no file");
        QVERIFY(!FolderReader::read(m_env->scratch() + "/no such folder", entries));
        QVERIFY(entries.empty());
    }

    void scanBuildsOneRowPerFile()
    {
        const QString root = m_env->scratch() + "/tree";
        m_env->writeFile("tree/archive.tar.gz", QByteArray(1024, 'x'));
        m_env->writeFile("tree/README");
        m_env->writeFile("tree/.profile");
        m_env->writeFile("tree/a/b/c/deep.do");
        m_env->writeFile("tree/a/it's here.txt");
        m_env->writeFile("tree/a/new\nline.mp3");
        m_env->writeFile("tree/a/b/empty/.keep");
        QVERIFY(scan(root, CatalogueScanJob::Mode::Tree));
        const QMap<QString, QString> rows = catalogue();
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.value(root + "/archive.tar.gz"),
                 QStringLiteral("archive.tar|gz|Archive|1024|32"));
        QCOMPARE(rows.value(root + "/README"), QStringLiteral("README||Others|1|32"));
        QCOMPARE(rows.value(root + "/.profile"), QStringLiteral("<null>|profile|Others|1|34"));
        QCOMPARE(rows.value(root + "/a/b/c/deep.do"), QStringLiteral("deep|do|Document|1|32"));
        QCOMPARE(rows.value(root + "/a/it's here.txt"),
                 QStringLiteral("it's here|txt|Document|1|32"));
        QCOMPARE(rows.value(root + "/a/new\nline.mp3"), QStringLiteral("new\nline|mp3|Music|1|32"));
    }

    void scanStoresCanonicalDates()
    {
        const QString path = m_env->writeFile("dated/f.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime when(QDate(2021, 6, 15), QTime(8, 9, 10));
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(scan(m_env->scratch() + "/dated", CatalogueScanJob::Mode::Tree));
        Store store(Store::Kind::Data, storePath());
        QCOMPARE(store.value("Select mdate from filedetails").toString(),
                 QStringLiteral("2021-06-15 08:09:10"));
        QVERIFY(!store.value("Select CDate from filedetails").toString().isEmpty());
    }

    void catalogueReadsBackWhatTheScanWrote()
    {
        const QString root = m_env->scratch() + "/back";
        const QString b = m_env->writeFile("back/b.TXT", "123");
        m_env->writeFile("back/A.jpg");
        m_env->writeFile("back/.profile");
        m_env->writeFile("back/sub/c");
        const QDateTime when(QDate(2022, 10, 30), QTime(2, 30, 15)); // near a clock change
        QFile file(b);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(when.addMSecs(456), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(scan(root, CatalogueScanJob::Mode::Tree, true));
        Store store(Store::Kind::Data, storePath());
        const std::vector<CatalogueReader::Record> records = CatalogueReader::read(store, -1);
        QCOMPARE(records.size(), size_t(4));
        // Ordered by name without regard to case; the empty name first.
        QVERIFY(records[0].name.isNull());
        QCOMPARE(records[0].ext, QStringLiteral("profile"));
        QCOMPARE(records[1].name, QStringLiteral("A"));
        QCOMPARE(records[2].name, QStringLiteral("b"));
        QCOMPARE(records[3].name, QStringLiteral("c"));
        const CatalogueReader::Record &text = records[2];
        QCOMPARE(text.ext, QStringLiteral("TXT"));
        QCOMPARE(text.group, QStringLiteral("Document"));
        QCOMPARE(text.size, qint64(3));
        QCOMPARE(text.location, root + "/b.TXT");
        QCOMPARE(text.attributes, 32);
        QCOMPARE(text.modified, when.toMSecsSinceEpoch());
        QVERIFY(text.created > 0);
        QCOMPARE(records[3].ext, QString(""));
        QCOMPARE(records[3].group, QStringLiteral("Others"));
    }

    void storedDatesReadBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("value");
        QTest::newRow("canonical")
            << "2024-02-29 23:59:59" << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59));
        QTest::newRow("same hour, other minute")
            << "2024-02-29 23:01:00" << QDateTime(QDate(2024, 2, 29), QTime(23, 1, 0));
        QTest::newRow("midnight") << "2000-01-01 00:00:00"
                                  << QDateTime(QDate(2000, 1, 1), QTime(0, 0));
        QTest::newRow("date only") << "2021-06-15" << QDateTime(QDate(2021, 6, 15), QTime(0, 0));
        QTest::newRow("not a date") << "2021-13-45 99:99:99" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }

    void storedDatesReadBack()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, value);
        const qint64 expected = value.isValid() ? value.toMSecsSinceEpoch() : -5;
        QCOMPARE(LocalTime::msecsOfText(text, -5), expected);
        QCOMPARE(LocalTime::msecsOfText(QByteArrayView(text.toUtf8()), -5), expected);
    }

    // Stored dates are local times: read back, they give the instant the local clock showed,
    // on both sides of a change to and from summer time.
    void storedDatesAcrossSummerTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("value");
        const QTimeZone berlin("Europe/Berlin");
        QTest::newRow("winter") << "2024-01-15 00:00:00"
                                << QDateTime(QDate(2024, 1, 15), QTime(0, 0), berlin);
        QTest::newRow("summer") << "2024-07-15 00:00:00"
                                << QDateTime(QDate(2024, 7, 15), QTime(0, 0), berlin);
        QTest::newRow("before spring change")
            << "2024-03-31 01:59:59" << QDateTime(QDate(2024, 3, 31), QTime(1, 59, 59), berlin);
        QTest::newRow("after spring change")
            << "2024-03-31 03:00:00" << QDateTime(QDate(2024, 3, 31), QTime(3, 0), berlin);
        QTest::newRow("before autumn change")
            << "2024-10-27 01:00:00" << QDateTime(QDate(2024, 10, 27), QTime(1, 0), berlin);
        QTest::newRow("after autumn change")
            << "2024-10-27 03:00:00" << QDateTime(QDate(2024, 10, 27), QTime(3, 0), berlin);
        QTest::newRow("summer day midnight")
            << "2024-03-31 00:00:00" << QDateTime(QDate(2024, 3, 31), QTime(0, 0), berlin);
    }

    void storedDatesAcrossSummerTime()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, value);
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        const qint64 read = LocalTime::msecsOfText(text, -5);
        if (zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        tzset();
        QCOMPARE(read, value.toMSecsSinceEpoch());
    }

    void nonUtf8NameIsCatalogued()
    {
        const QByteArray folder = QFile::encodeName(m_env->scratch()) + "/raw";
        QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        const QByteArray name = folder + "/caf\xe9.txt";
        FILE *raw = fopen(name.constData(), "w");
        QVERIFY(raw);
        fclose(raw);
        QVERIFY(scan(QFile::decodeName(folder), CatalogueScanJob::Mode::Tree));
        const QMap<QString, QString> rows = catalogue();
        // The temporary folder cannot name this file to remove it.
        ::unlink(name.constData());
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows.first().endsWith(QStringLiteral("|txt|Document|0|32")));
    }

    void symlinkLoopIsEnteredOnce()
    {
        const QString root = m_env->scratch() + "/loop";
        m_env->writeFile("loop/a/file.txt");
        m_env->writeFile("loop/b/other.txt");
        // a/up points at the root, b/side at a sibling: neither may be walked twice.
        QVERIFY(QFile::link(root, root + "/a/up"));
        QVERIFY(QFile::link(root + "/a", root + "/b/side"));
        QVERIFY(QFile::link(root + "/a/self", root + "/a/self")); // a link to itself
        QVERIFY(scan(root, CatalogueScanJob::Mode::Tree));
        const QMap<QString, QString> rows = catalogue();
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows.contains(root + "/a/file.txt"));
        QVERIFY(rows.contains(root + "/b/other.txt"));
    }

    void unreadableFolderIsSkipped()
    {
        if (geteuid() == 0)
            QSKIP("Running as root: an unreadable folder is still readable, nothing to skip");
        const QString root = m_env->scratch() + "/locked";
        m_env->writeFile("locked/open/a.txt");
        m_env->writeFile("locked/shut/b.txt");
        QVERIFY(QFile::setPermissions(root + "/shut", QFileDevice::Permissions()));
        QVERIFY(scan(root, CatalogueScanJob::Mode::Tree));
        QFile::setPermissions(root + "/shut", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        QCOMPARE(catalogue().keys(), QStringList{root + "/open/a.txt"});
    }

    void missingStartFolderLeavesAnEmptyCatalogue()
    {
        QVERIFY(scan(m_env->scratch() + "/nowhere", CatalogueScanJob::Mode::Tree, true));
        QVERIFY(catalogue().isEmpty());
    }

    void oneFolderModeAddsOnlyDirectFiles()
    {
        const QString root = m_env->scratch() + "/one";
        m_env->writeFile("one/top.txt");
        m_env->writeFile("one/sub/below.txt");
        QVERIFY(scan(root, CatalogueScanJob::Mode::OneFolder));
        QCOMPARE(catalogue().keys(), QStringList{root + "/top.txt"});
        // Adding again adds again: the catalogue is only emptied by a rescan.
        QVERIFY(scan(root, CatalogueScanJob::Mode::OneFolder));
        Store store(Store::Kind::Data, storePath());
        QCOMPARE(store.value("Select count(*) from filedetails").toInt(), 2);
    }

    void rescanReplacesTheCatalogue()
    {
        m_env->writeFile("first/x.txt");
        m_env->writeFile("second/y.txt");
        QVERIFY(scan(m_env->scratch() + "/first", CatalogueScanJob::Mode::Tree, true));
        QVERIFY(scan(m_env->scratch() + "/second", CatalogueScanJob::Mode::Tree, true));
        QCOMPARE(catalogue().keys(), QStringList{m_env->scratch() + "/second/y.txt"});
        // The scan takes the Location index off while it fills the table; it must come back.
        Store store(Store::Kind::Data, storePath());
        QCOMPARE(store
                     .value("select count(*) from sqlite_master where type = 'index' and tbl_name "
                            "= 'filedetails'")
                     .toInt(),
                 1);
        // Regression: a scan that died after dropping the index left nothing to rebuild it from.
        QVERIFY(store.exec("DROP INDEX filedetails_location"));
        QVERIFY(scan(m_env->scratch() + "/second", CatalogueScanJob::Mode::Tree, true));
        QCOMPARE(store
                     .value("select count(*) from sqlite_master where name = "
                            "'filedetails_location'")
                     .toInt(),
                 1);
    }

    // A cancel from the job's own thread after a fixed number of files: the same every run.
    void cancelledScans_data()
    {
        QTest::addColumn<bool>("rescan");
        QTest::newRow("adding scan keeps what it wrote") << false;
        QTest::newRow("rescan leaves the old catalogue") << true;
    }
    void cancelledScans()
    {
        QFETCH(bool, rescan);
        m_env->writeFile("old/kept.txt");
        QVERIFY(scan(m_env->scratch() + "/old", CatalogueScanJob::Mode::Tree, true));
        const QMap<QString, QString> before = catalogue();
        const QString root = m_env->scratch() + "/big";
        for (int folder = 0; folder < 20; ++folder) {
            QDir().mkpath(root + QStringLiteral("/f%1").arg(folder));
            for (int file = 0; file < 100; ++file)
                QFile(root + QStringLiteral("/f%1/n%2.txt").arg(folder).arg(file))
                    .open(QIODevice::WriteOnly);
        }
        CatalogueScanJob job(storePath(), root, CatalogueScanJob::Mode::Tree);
        job.setClearFirst(rescan);
        connect(
            &job, &Job::filesCounted, &job,
            [&job](qint64 done) {
                if (done == 300)
                    job.cancel();
            },
            Qt::DirectConnection);
        QSignalSpy finished(&job, &Job::finished);
        job.start();
        QVERIFY(finished.wait(20000));
        QVERIFY(job.succeeded());
        QCOMPARE(job.filesDone(), qint64(300));
        const QMap<QString, QString> after = catalogue();
        if (rescan) {
            QCOMPARE(after, before);
        } else {
            QCOMPARE(after.size(), before.size() + 300);
            QVERIFY(after.contains(before.firstKey()));
        }
        Store store(Store::Kind::Data, storePath());
        QCOMPARE(store
                     .value("select count(*) from sqlite_master where type = 'index' and tbl_name "
                            "= 'filedetails'")
                     .toInt(),
                 1);
    }

    void searchFindsNamesAndFolders()
    {
        const QString root = m_env->scratch() + "/find";
        m_env->writeFile("find/Notes.TXT");
        m_env->writeFile("find/image.png");
        m_env->writeFile("find/sub.txt/inner.txt");
        m_env->writeFile("find/x/y/deep.txt");
        m_env->writeFile("find/x/none.doc");
        QVERIFY(QFile::link(root, root + "/x/back"));

        FileSearchJob flat(root, "*.txt", false);
        flat.runHere();
        QCOMPARE(flat.results().size(), 1);
        QStringList names;
        for (const FileEntry &hit : flat.results().first().hits)
            names << hit.name() + QLatin1Char('=') + QString::number(hit.attributes);
        names.sort();
        QCOMPARE(names, (QStringList{"Notes.TXT=32", "sub.txt=16"}));
        QCOMPARE(flat.results().first().folder, root + QLatin1Char('/'));

        FileSearchJob deep(root, "*.txt", true);
        deep.runHere();
        QStringList folders;
        for (const FileSearchJob::FolderHits &found : deep.results())
            folders << found.folder.mid(root.size()) + QLatin1Char('<') +
                           found.parent.mid(root.size());
        QCOMPARE(folders, (QStringList{"/<", "/sub.txt/</", "/x/y/</x/"}));

        FileSearchJob nothing(root, "", true);
        nothing.runHere();
        QVERIFY(nothing.results().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_FileOrganizerCore)
#include "tst_FileOrganizerCore.moc"
