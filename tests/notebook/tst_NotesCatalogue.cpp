#include "ContentIndex.h"
#include "ContentIndexJob.h"
#include "FolderScanJob.h"
#include "NotesCatalogue.h"

#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

// The catalogue nv_notesdairy1 and the content index beside it: the one routine that writes a
// row, linking, body saves, the index's view of rows other programs write, and the scan and
// indexing jobs with their cancel paths.
class tst_NotesCatalogue : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    static QString rtf(const QByteArray &body)
    {
        return QString::fromLatin1("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "}");
    }

    // The names of the rows whose text holds text, as content search finds them.
    static QStringList found(const Store &store, const QString &text)
    {
        return store.column(QStringLiteral("select DocumentName from nv_notesdairy1 where ") +
                            ContentIndex::condition(text) +
                            QStringLiteral(" order by DocumentName"));
    }

    // A row as another program of the suite writes it: straight into the table.
    static void insertElsewhere(const Store &store, const QString &name, const QString &content,
                                const QString &mDate = QString())
    {
        QVERIFY(store.exec(
            QStringLiteral("insert into nv_notesdairy1 (DocumentName, path, Content, mDate) "
                           "values (") +
            SqlText::literal(name) + ',' + SqlText::literal(QStringLiteral("/elsewhere/") + name) +
            ',' + SqlText::literal(content) + ',' +
            (mDate.isEmpty() ? QStringLiteral("NULL") : mDate) + ')'));
    }

    qint64 addDocument(NotesCatalogue &catalogue, const QString &name, const QByteArray &body)
    {
        const QString path = m_env->writeFile(name + QStringLiteral(".rtf"), rtf(body).toLatin1());
        if (!catalogue.AddDocumentLink(path))
            return 0;
        return catalogue.byPath(path)->id;
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void linkRecordFollowsTheNamingRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ext");
        QTest::newRow("rich text") << "/d/note.rtf"
                                   << "note"
                                   << "rtf";
        QTest::newRow("two dots") << "/d/a.b.rtf"
                                  << "a"
                                  << "rtf";
        QTest::newRow("no dot") << "/d/README"
                                << "README"
                                << "rtf";
        QTest::newRow("long extension") << "/d/photo.jpeg"
                                        << "photo"
                                        << "rtf";
        QTest::newRow("short extension") << "/d/x.md"
                                         << "x"
                                         << "md";
        QTest::newRow("dot in the folder only") << "/my.folder/plain"
                                                << "plain"
                                                << "rtf";
        QTest::newRow("dot file") << "/d/.hidden.txt"
                                  << ""
                                  << "txt";
        QTest::newRow("non-ASCII and blanks") << "/d/Café über.txt"
                                              << "Café über"
                                              << "txt";
    }

    void linkRecordFollowsTheNamingRules()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, ext);
        const DocumentRecord record = NotesCatalogue::linkRecord(path);
        QCOMPARE(record.documentName, name);
        QCOMPARE(record.ext, ext);
        QCOMPARE(record.path, path);
        QCOMPARE(record.docType, QStringLiteral("Notes"));
        QCOMPARE(record.type, QStringLiteral("Business"));
        QCOMPARE(record.category1, QStringLiteral("Undefined"));
        QCOMPARE(record.bgcolor, std::optional<qint64>(13027794));
        QCOMPARE(record.version, QStringLiteral("1"));
        QCOMPARE(record.serialNo, std::optional<qint64>(1));
        QVERIFY(!record.date.isValid());
        QVERIFY(!record.mDate.isValid());
    }

    void linkingTwiceLeavesOneRow()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = QStringLiteral("/d/O'Brien's 100%_[1].rtf");
        QVERIFY(catalogue.AddDocumentLink(path));
        QVERIFY(!catalogue.AddDocumentLink(path));
        // A path that differs in case is another file on this file system.
        QVERIFY(catalogue.AddDocumentLink(QStringLiteral("/d/o'brien's 100%_[1].rtf")));
        QVERIFY(!catalogue.AddDocumentLink(QString()));
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 2);
        QCOMPARE(catalogue.byPath(path)->documentName, QStringLiteral("O'Brien's 100%_[1]"));
    }

    void aRowRoundTripsWithItsNulls()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record;
        record.documentName = QStringLiteral("Größe 'x'");
        record.date = QDateTime(QDate(2026, 3, 1), QTime(0, 0));
        record.category1 = QStringLiteral("Home");
        record.mDate = QDateTime(QDate(2026, 3, 31), QTime(0, 0));
        record.serialNo = 0;
        record.flags = QStringLiteral("urgent");
        record.path = QStringLiteral("/d/g.rtf");
        record.bgcolor = 0;
        record.keyword = QStringLiteral("red,blue");
        record.dueDate = QDateTime(QDate(2026, 4, 2), QTime(9, 30));
        record.content = QStringLiteral("{\\rtf1 x}");
        record.current = true;
        QVERIFY(catalogue.writeRow(record));
        QVERIFY(record.id > 0);
        const std::optional<DocumentRecord> back = catalogue.byId(record.id);
        QVERIFY(back);
        QCOMPARE(back->documentName, record.documentName);
        QCOMPARE(back->date, record.date);
        QCOMPARE(back->mDate, record.mDate);
        QCOMPARE(back->dueDate, record.dueDate);
        QCOMPARE(back->serialNo, std::optional<qint64>(0));
        QCOMPARE(back->bgcolor, std::optional<qint64>(0));
        QCOMPARE(back->keyword, record.keyword);
        QVERIFY(back->current);
        // What was not set stays Null in the store, not empty.
        QCOMPARE(store
                     .value(QStringLiteral("select count(*) from nv_notesdairy1 where Author is "
                                           "null and Version is null and DocType is null"))
                     .toInt(),
                 1);
        QVERIFY(back->author.isNull());

        DocumentRecord changed = *back;
        changed.author = QStringLiteral("Ann");
        changed.serialNo.reset();
        QVERIFY(catalogue.writeRow(changed));
        QCOMPARE(changed.id, record.id);
        QCOMPARE(catalogue.byId(record.id)->author, QStringLiteral("Ann"));
        QVERIFY(!catalogue.byId(record.id)->serialNo);
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 1);

        // A row removed meanwhile is not written back.
        QVERIFY(catalogue.removeRow(record.id));
        QVERIFY(!catalogue.writeRow(changed));
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 0);
    }

    void bodySaveStoresTheCopyAndIndexesTheText()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path = m_env->writeFile(QStringLiteral("note.rtf"), "{\\rtf1 old}");
        QVERIFY(catalogue.AddDocumentLink(path));
        const QByteArray body = "{\\rtf1\\ansi Don't forget the caf\\'e9.}";
        QVERIFY(catalogue.saveBody(path, body, 255, QDate(2026, 5, 17)));
        const DocumentRecord record = *catalogue.byPath(path);
        QCOMPARE(record.content, QStringLiteral("{\\rtf1\\ansi Don`t forget the caf\\`e9.}"));
        QCOMPARE(record.mDate, QDate(2026, 5, 17).startOfDay());
        QCOMPARE(record.bgcolor, std::optional<qint64>(255));
        // The index holds the text itself: the apostrophe and the accented letter as written.
        QCOMPARE(found(store, QStringLiteral("don't")), QStringList{"note"});
        QCOMPARE(found(store, QStringLiteral("CAFÉ")), QStringList{"note"});
        QCOMPARE(found(store, QStringLiteral("old")), QStringList());

        // A document without a row: nothing is written.
        QVERIFY(!catalogue.saveBody(QStringLiteral("/nowhere.rtf"), body, 1, QDate::currentDate()));
        QCOMPARE(store.value(QStringLiteral("select count(*) from nv_notesdairy1")).toInt(), 1);
    }

    void colourRuleAndSideNote()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        QCOMPARE(catalogue.viewColour(QStringLiteral("/no/row.rtf")),
                 NotesCatalogue::DefaultColour);
        DocumentRecord record;
        record.path = QStringLiteral("/d/plain.rtf");
        QVERIFY(catalogue.writeRow(record));
        QCOMPARE(catalogue.viewColour(record.path), NotesCatalogue::DefaultColour); // Null
        QVERIFY(catalogue.AddDocumentLink(QStringLiteral("/d/linked.rtf")));
        QCOMPARE(catalogue.viewColour(QStringLiteral("/d/linked.rtf")), NotesCatalogue::LinkColour);
        QVERIFY(catalogue.markQuickNote(QStringLiteral("/d/linked.rtf")));
        QCOMPARE(catalogue.byPath(QStringLiteral("/d/linked.rtf"))->docType,
                 QStringLiteral("Quick Notes"));
        QCOMPARE(catalogue.viewColour(QStringLiteral("/d/linked.rtf")), qint64(7723767));
        QVERIFY(!catalogue.markQuickNote(QStringLiteral("/d/none.rtf")));
    }

    void keywordsSplitAtCommas()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record;
        record.path = QStringLiteral("/d/k.rtf");
        record.keyword = QStringLiteral("red,,blue ,Red");
        QVERIFY(catalogue.writeRow(record));
        QCOMPARE(catalogue.keywordsOf(record.path), (QStringList{"red", "blue ", "Red"}));
        QCOMPARE(catalogue.keywordsOf(QStringLiteral("/d/none.rtf")), QStringList());
    }

    void contentSearchFindsTextTheRtfSourceHides_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("accent escaped in RTF") << "café" << QStringList{"menu"};
        QTest::newRow("any case") << "CAFÉ AU" << QStringList{"menu"};
        QTest::newRow("word split by formatting") << "bold move" << QStringList{"styled"};
        QTest::newRow("unicode escape") << "東京" << QStringList{"travel"};
        QTest::newRow("substring in a word") << "ffee" << QStringList{"menu"};
        QTest::newRow("short text scans") << "é" << QStringList{"menu"};
        QTest::newRow("two letters") << "ld" << QStringList{"styled"};
        QTest::newRow("quote in the text") << "it's" << QStringList{"travel"};
        QTest::newRow("double quote") << "\"hi\"" << QStringList{"travel"};
        QTest::newRow("not there") << "zebra" << QStringList{};
        QTest::newRow("RTF words are no text") << "fonttbl" << QStringList{};
    }

    void contentSearchFindsTextTheRtfSourceHides()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        QVERIFY(catalogue.index().isAvailable());
        QVERIFY(addDocument(catalogue, QStringLiteral("menu"), "Caf\\'e9 au lait, coffee"));
        QVERIFY(addDocument(catalogue, QStringLiteral("styled"), "A {\\b bo}ld move"));
        QVERIFY(addDocument(catalogue, QStringLiteral("travel"), "\\u26481?\\u20140? it's \"hi\""));
        QCOMPARE(found(store, text), names);
    }

    void rowsWrittenElsewhereAreIndexedOnTheNextCheck()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        QVERIFY(addDocument(catalogue, QStringLiteral("own"), "mine alone"));
        QVERIFY(catalogue.refreshIndex(100)); // the first check notes today
        insertElsewhere(store, QStringLiteral("sibling"), rtf("written by a sibling"));
        QCOMPARE(found(store, QStringLiteral("sibling")), QStringList());
        QCOMPARE(catalogue.index().check().ids.size(), size_t(1));
        QVERIFY(!catalogue.refreshIndex(0)); // too many for here: nothing done
        QCOMPARE(found(store, QStringLiteral("sibling")), QStringList());
        QVERIFY(catalogue.refreshIndex(100));
        QCOMPARE(found(store, QStringLiteral("sibling")), QStringList{"sibling"});
        QVERIFY(catalogue.index().check().ids.empty());

        // The sibling saves again today: same date, new body.
        const QString today = SqlText::dateLiteral(QDate::currentDate());
        QVERIFY(store.exec(QStringLiteral("update nv_notesdairy1 set mDate=") + today +
                           QStringLiteral(", Content=") + SqlText::literal(rtf("second draft")) +
                           QStringLiteral(" where DocumentName='sibling'")));
        QVERIFY(catalogue.refreshIndex(100));
        QCOMPARE(found(store, QStringLiteral("second draft")), QStringList{"sibling"});
        QCOMPARE(found(store, QStringLiteral("sibling")), QStringList());

        // A row deleted elsewhere is found no more, even before a check.
        QVERIFY(store.exec(QStringLiteral("delete from nv_notesdairy1 where DocumentName='own'")));
        QCOMPARE(found(store, QStringLiteral("mine")), QStringList());
    }

    void aChangeDatedBeforeTheLastCheckWaitsForARebuild()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        const QString path =
            m_env->writeFile(QStringLiteral("diary.rtf"), rtf("monday").toLatin1());
        QVERIFY(catalogue.AddDocumentLink(path));
        QVERIFY(catalogue.refreshIndex(100));
        // Another program changes file and body copy but stamps an old date.
        m_env->writeFile(QStringLiteral("diary.rtf"), rtf("tuesday").toLatin1());
        QVERIFY(
            store.exec(QStringLiteral("update nv_notesdairy1 set mDate=#01-Jan-2020#, Content=") +
                       SqlText::literal(rtf("tuesday"))));
        QVERIFY(catalogue.refreshIndex(100));
        QCOMPARE(found(store, QStringLiteral("tuesday")), QStringList());
        ContentIndexJob rebuild(Store::defaultPath(Store::Kind::Data),
                                ContentIndexJob::Mode::Rebuild);
        rebuild.runHere();
        QVERIFY(rebuild.succeeded());
        QCOMPARE(rebuild.indexed(), 1);
        QCOMPARE(found(store, QStringLiteral("tuesday")), QStringList{"diary"});
    }

    void aDamagedIndexIsRebuiltFromTheFiles()
    {
        Store store(Store::Kind::Data);
        {
            NotesCatalogue catalogue(store);
            QVERIFY(addDocument(catalogue, QStringLiteral("kept"), "the file decides"));
            // The body copy says otherwise: a rebuild reads the file.
            QVERIFY(store.exec(QStringLiteral("update nv_notesdairy1 set Content=") +
                               SqlText::literal(rtf("stale copy"))));
        }
        // An index that lost one of its own tables cannot even be opened.
        QVERIFY(QSqlQuery(store.database())
                    .exec(QStringLiteral("drop table nv_notesdairy1_text_data")));
        QCOMPARE(found(store, QStringLiteral("file decides")), QStringList());
        ContentIndexJob rebuild(Store::defaultPath(Store::Kind::Data),
                                ContentIndexJob::Mode::Rebuild);
        rebuild.runHere();
        QVERIFY(rebuild.succeeded());
        QCOMPARE(found(store, QStringLiteral("file decides")), QStringList{"kept"});
        QCOMPARE(found(store, QStringLiteral("stale")), QStringList());
        // A document whose file is gone is indexed from its body copy.
        QVERIFY(QFile::remove(m_env->scratch() + QStringLiteral("/kept.rtf")));
        ContentIndexJob again(Store::defaultPath(Store::Kind::Data),
                              ContentIndexJob::Mode::Rebuild);
        again.runHere();
        QCOMPARE(found(store, QStringLiteral("stale copy")), QStringList{"kept"});
    }

    void aScribbledIndexIsRebuiltToo()
    {
        Store store(Store::Kind::Data);
        {
            NotesCatalogue catalogue(store);
            QVERIFY(addDocument(catalogue, QStringLiteral("page"), "scribbled over"));
        }
        QVERIFY(store.exec(QStringLiteral("update nv_notesdairy1_text_data set block = "
                                          "x'00112233' where id > 10")));
        QCOMPARE(found(store, QStringLiteral("scribbled")), QStringList());
        ContentIndexJob rebuild(Store::defaultPath(Store::Kind::Data),
                                ContentIndexJob::Mode::Rebuild);
        rebuild.runHere();
        QVERIFY(rebuild.succeeded());
        QCOMPARE(found(store, QStringLiteral("scribbled")), QStringList{"page"});
    }

    void aCancelledIndexingKeepsWhatItDid()
    {
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        QVERIFY(catalogue.refreshIndex(100));
        for (int i = 0; i < 30; ++i)
            insertElsewhere(store, QStringLiteral("row%1").arg(i, 2, 10, QLatin1Char('0')),
                            rtf("shared words"));
        ContentIndexJob job(Store::defaultPath(Store::Kind::Data), ContentIndexJob::Mode::Stale);
        connect(
            &job, &Job::filesCounted, &job,
            [&job](qint64 done) {
                if (done == 5)
                    job.cancel();
            },
            Qt::DirectConnection);
        job.runHere();
        QVERIFY(job.isCancelled());
        QCOMPARE(job.indexed(), 5);
        QCOMPARE(found(store, QStringLiteral("shared")).size(), 5);
        QCOMPARE(catalogue.index().check().ids.size(), size_t(25));
        QVERIFY(catalogue.refreshIndex(100));
        QCOMPARE(found(store, QStringLiteral("shared")).size(), 30);
    }

    void folderScanLinksTextDocuments()
    {
        m_env->writeFile(QStringLiteral("scan/a.txt"), "alpha notes");
        m_env->writeFile(QStringLiteral("scan/B.RTF"), rtf("beta").toLatin1());
        m_env->writeFile(QStringLiteral("scan/c.doc"), "gamma");
        m_env->writeFile(QStringLiteral("scan/.hidden.txt"), "hidden");
        m_env->writeFile(QStringLiteral("scan/sub/d.txt"), "delta");
        m_env->writeFile(QStringLiteral("scan/Größe 'x'.txt"), "epsilon");
        const QString folder = m_env->scratch() + QStringLiteral("/scan");
        FolderScanJob job(Store::defaultPath(Store::Kind::Data), folder);
        job.runHere();
        QVERIFY(job.folderReadable());
        QVERIFY(job.succeeded());
        QCOMPARE(job.added(), 3);
        Store store(Store::Kind::Data);
        QCOMPARE(store.column(QStringLiteral("select DocumentName from nv_notesdairy1 order by "
                                             "DocumentName")),
                 (QStringList{"a", "B", "Größe 'x'"}));
        QCOMPARE(
            store.value(QStringLiteral("select ext from nv_notesdairy1 where DocumentName='B'"))
                .toString(),
            QStringLiteral("RTF"));
        QCOMPARE(found(store, QStringLiteral("epsilon")), QStringList{"Größe 'x'"});
        QCOMPARE(found(store, QStringLiteral("beta")), QStringList{"B"});

        FolderScanJob again(Store::defaultPath(Store::Kind::Data), folder);
        again.runHere();
        QCOMPARE(again.added(), 0);

        FolderScanJob missing(Store::defaultPath(Store::Kind::Data),
                              folder + QStringLiteral("/no"));
        missing.runHere();
        QVERIFY(!missing.folderReadable());
        QCOMPARE(missing.added(), 0);
    }

    void aCancelledScanKeepsTheRowsItWrote()
    {
        for (int i = 0; i < 8; ++i)
            m_env->writeFile(QStringLiteral("many/n%1.txt").arg(i), "text");
        FolderScanJob job(Store::defaultPath(Store::Kind::Data),
                          m_env->scratch() + QStringLiteral("/many"));
        connect(
            &job, &Job::filesCounted, &job,
            [&job](qint64 done) {
                if (done == 3)
                    job.cancel();
            },
            Qt::DirectConnection);
        job.runHere();
        QCOMPARE(job.added(), 3);
        QCOMPARE(job.filesTotal(), 8);
        Store store(Store::Kind::Data);
        QCOMPARE(store.column(QStringLiteral("select DocumentName from nv_notesdairy1 order by "
                                             "DocumentName")),
                 (QStringList{"n0", "n1", "n2"}));
    }
};

QTEST_MAIN(tst_NotesCatalogue)
#include "tst_NotesCatalogue.moc"
