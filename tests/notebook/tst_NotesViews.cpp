#include "ColumnChoice.h"
#include "DocumentGrid.h"
#include "DocumentLoader.h"
#include "KeyedGridModel.h"
#include "NotesCatalogue.h"
#include "NotesFilter.h"
#include "NotesFilterLists.h"
#include "NotesViews.h"

#include "SqlText.h"
#include "Store.h"
#include "TestEnvironment.h"

#include <QTest>

// The views of the document grid and the filter panel's clauses, built as texts and run on a
// store of documents whose names hold quotes, wildcards and non-ASCII letters.
class tst_NotesViews : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    struct Doc {
        const char *name;
        const char *category;
        const char *version;
        const char *ext;
        const char *keyword;
        const char *flags;
        const char *date;
        const char *mdate;
        const char *docType;
    };

    static void addDocuments(const Store &store)
    {
        static const Doc docs[] = {
            {"Letter to Ann", "Home", "1", "rtf", "red,blue", "urgent", "2026-03-01", "2026-03-31",
             "Letters"},
            {"lemon tart", "Recipes", "2", "txt", "red", nullptr, "2026-02-10", "2026-03-01",
             "Notes"},
            {"O'Brien's 100%_plan", "Work", "2", "txt", nullptr, "later", "2026-01-05",
             "2026-02-28", "Notes"},
            {"Größe* notes", "Home", "2", "rtf", "blue", nullptr, "2025-12-24", nullptr,
             "Multimedia"},
            {"Budget", "Home ", "1", "XLS", nullptr, nullptr, "2025-11-30", "2026-04-01", "List"},
            {"Wishes", "Home", "1", "rtf", nullptr, nullptr, nullptr, "2025-12-01", "Quick Notes"},
        };
        NotesCatalogue catalogue(store);
        for (const Doc &doc : docs) {
            DocumentRecord r;
            r.documentName = QString::fromUtf8(doc.name);
            r.category1 = QString::fromUtf8(doc.category);
            r.version = QString::fromUtf8(doc.version);
            r.ext = QString::fromUtf8(doc.ext);
            r.keyword = doc.keyword ? QString::fromUtf8(doc.keyword) : QString();
            r.flags = doc.flags ? QString::fromUtf8(doc.flags) : QString();
            r.date =
                doc.date
                    ? QDate::fromString(QString::fromLatin1(doc.date), Qt::ISODate).startOfDay()
                    : QDateTime();
            r.mDate =
                doc.mdate
                    ? QDate::fromString(QString::fromLatin1(doc.mdate), Qt::ISODate).startOfDay()
                    : QDateTime();
            r.docType = QString::fromUtf8(doc.docType);
            r.path = QStringLiteral("/docs/") + r.documentName + '.' + r.ext;
            QVERIFY(catalogue.writeRow(r));
        }
    }

    static QStringList names(const Store &store, const QString &source)
    {
        KeyedGridModel grid;
        if (!DocumentGrid::fill(store, source, QString(), grid, DocumentGrid::dateFormat(false)))
            return {QStringLiteral("failed")};
        QStringList values;
        for (int row = grid.fixedRows(); row < grid.rows(); ++row)
            values << grid.text(row, QStringLiteral("DocumentName"));
        return values;
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void quickSearchLooksInTenColumns()
    {
        QCOMPARE(
            NotesFilter::quickSearchClause(QStringLiteral("abc"), QString()),
            QStringLiteral(" where  [CATEGORY1] like '*abc*' or  [FLAGS] like '**' or  "
                           "[DOCUMENTNAME] like '*abc*' or  [TYPE] like '*abc*' or  [SERIALNO] "
                           "like '*abc*' or  [EXT] like '*abc*' or  [PATH] like '*abc*' or  "
                           "[VERSION] like '*abc*' or  [AUTHOR] like '*abc*' or  [keyword] "
                           "like '*abc*'"));
    }

    void structuredClauses_data()
    {
        QTest::addColumn<NotesFilterFields>("fields");
        QTest::addColumn<QString>("clause");
        NotesFilterFields none;
        QTest::newRow("nothing set") << none << "";
        NotesFilterFields all = none;
        all.keyword = all.flags = all.category = all.version = QStringLiteral("All");
        QTest::newRow("All everywhere") << all << "";
        NotesFilterFields keyFlags = none;
        keyFlags.keyword = QStringLiteral("red");
        keyFlags.flags = QStringLiteral("urgent");
        QTest::newRow("keyword and flags")
            << keyFlags << "Where keyword like '*red*' and flags like '*urgent*'";
        NotesFilterFields flags = none;
        flags.flags = QStringLiteral("urgent");
        QTest::newRow("flags alone") << flags << "Where flags like '*urgent*'";
        NotesFilterFields home = none;
        home.category = QStringLiteral("Home");
        QTest::newRow("category") << home << " where category1 ='Home'";
        NotesFilterFields homeTwo = home;
        homeTwo.version = QStringLiteral("2");
        QTest::newRow("category and version")
            << homeTwo << " where category1 ='Home' and version='2'";
        NotesFilterFields ext = none;
        ext.extension = QStringLiteral("txt");
        QTest::newRow("extension") << ext << " where ext ='txt'";
        NotesFilterFields modified = none;
        modified.dateKind = QStringLiteral("Modified");
        modified.from = QDate(2026, 3, 1);
        modified.to = QDate(2026, 3, 31);
        QTest::newRow("modified in March")
            << modified << " where mdate>=#01-Mar-2026# and mdate<=#31-Mar-2026#";
        NotesFilterFields created = modified;
        created.dateKind = QStringLiteral("Created");
        created.keyword = QStringLiteral("red");
        QTest::newRow("keyword, then created")
            << created
            << "Where keyword like '*red*' and date>=#01-Mar-2026# and date<=#31-Mar-2026#";
        NotesFilterFields name = none;
        name.namePrefix = QStringLiteral("Le");
        QTest::newRow("name prefix") << name << " where DocumentName like 'Le*'";
        NotesFilterFields quote = none;
        quote.category = QStringLiteral("O'Brien");
        QTest::newRow("quote is doubled") << quote << " where category1 ='O''Brien'";
        NotesFilterFields star = none;
        star.namePrefix = QStringLiteral("50*#");
        QTest::newRow("wildcards are literal") << star << " where DocumentName like '50[*][#]*'";
    }

    void structuredClauses()
    {
        QFETCH(NotesFilterFields, fields);
        QFETCH(QString, clause);
        QCOMPARE(NotesFilter::structuredClause(fields), clause);
    }

    void quickSearchIgnoresStructuredFieldsButFlags()
    {
        NotesFilterFields fields;
        fields.searchText = QStringLiteral("tart");
        fields.category = QStringLiteral("Home");
        fields.flags = QStringLiteral("later");
        const QString clause = NotesFilter::clause(fields);
        QVERIFY(!clause.contains(QLatin1String("Home")));
        QVERIFY(clause.contains(QLatin1String("[FLAGS] like '*later*'")));
        QVERIFY(clause.contains(QLatin1String("[DOCUMENTNAME] like '*tart*'")));
    }

    void filtersFindTheirRows_data()
    {
        QTest::addColumn<NotesFilterFields>("fields");
        QTest::addColumn<QStringList>("names");
        NotesFilterFields none;
        QTest::newRow("every row by date")
            << none
            << QStringList{"Wishes",     "Budget",       "Größe* notes", "O'Brien's 100%_plan",
                           "lemon tart", "Letter to Ann"};
        NotesFilterFields prefix = none;
        prefix.namePrefix = QStringLiteral("le");
        QTest::newRow("name prefix in any case")
            << prefix << QStringList{"lemon tart", "Letter to Ann"};
        NotesFilterFields quote = none;
        quote.namePrefix = QStringLiteral("O'Brien");
        QTest::newRow("quote in the name") << quote << QStringList{"O'Brien's 100%_plan"};
        NotesFilterFields star = none;
        star.namePrefix = QStringLiteral("gröSSE");
        QTest::newRow("non-ASCII prefix, no folding of ß") << star << QStringList{};
        NotesFilterFields literalStar = none;
        literalStar.namePrefix = QStringLiteral("GRÖßE*");
        QTest::newRow("star is a star") << literalStar << QStringList{"Größe* notes"};
        // The quick search also looks for the flags list's text: "All" as the panel shows it.
        NotesFilterFields percent = none;
        percent.flags = QStringLiteral("All");
        percent.searchText = QStringLiteral("100%_");
        QTest::newRow("percent and underscore") << percent << QStringList{"O'Brien's 100%_plan"};
        NotesFilterFields percentMiss = percent;
        percentMiss.searchText = QStringLiteral("1_0");
        QTest::newRow("underscore is no wildcard") << percentMiss << QStringList{};
        NotesFilterFields umlaut = percent;
        umlaut.searchText = QStringLiteral("GRÖ");
        QTest::newRow("quick search non-ASCII") << umlaut << QStringList{"Größe* notes"};
        NotesFilterFields quickFlags = none;
        quickFlags.searchText = QStringLiteral("nothing like it");
        quickFlags.flags = QStringLiteral("urg");
        QTest::newRow("quick search takes the flags list")
            << quickFlags << QStringList{"Letter to Ann"};
        // An empty flags list makes the pattern "**": every row with flags is found.
        NotesFilterFields emptyFlags = none;
        emptyFlags.searchText = QStringLiteral("nothing like it");
        QTest::newRow("empty flags list")
            << emptyFlags << QStringList{"O'Brien's 100%_plan", "Letter to Ann"};
        NotesFilterFields march = none;
        march.dateKind = QStringLiteral("Modified");
        march.from = QDate(2026, 3, 1);
        march.to = QDate(2026, 3, 31);
        QTest::newRow("both ends of the range")
            << march << QStringList{"lemon tart", "Letter to Ann"};
        NotesFilterFields ext = none;
        ext.extension = QStringLiteral("TXT");
        QTest::newRow("extension in any case")
            << ext << QStringList{"O'Brien's 100%_plan", "lemon tart"};
        NotesFilterFields keyword = none;
        keyword.keyword = QStringLiteral("blue");
        keyword.category = QStringLiteral("home");
        QTest::newRow("keyword and category")
            << keyword << QStringList{"Größe* notes", "Letter to Ann"};
    }

    void filtersFindTheirRows()
    {
        QFETCH(NotesFilterFields, fields);
        QFETCH(QStringList, names);
        Store store(Store::Kind::Data);
        addDocuments(store);
        QCOMPARE(this->names(store, NotesFilter::recordSource(NotesFilter::clause(fields))), names);
    }

    void alphabetAndDocTypeTabs()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        QCOMPARE(NotesViews::alphabetCaptions().size(), 23);
        QCOMPARE(NotesViews::alphabetCaptions().last(), QStringLiteral("V"));
        QCOMPARE(names(store, NotesViews::alphabetSource(QStringLiteral("All"))).size(), 6);
        QCOMPARE(names(store, NotesViews::alphabetSource(QStringLiteral("L"))),
                 (QStringList{"lemon tart", "Letter to Ann"}));
        QCOMPARE(names(store, NotesViews::alphabetSource(QStringLiteral("B"))),
                 QStringList{"Budget"});
        QCOMPARE(names(store, NotesViews::docTypeSource(1)),
                 (QStringList{"Größe* notes", "lemon tart", "O'Brien's 100%_plan"}));
        QCOMPARE(names(store, NotesViews::docTypeSource(2)), QStringList{"Wishes"});
        QCOMPARE(names(store, NotesViews::docTypeSource(4)), QStringList{"Letter to Ann"});
        QCOMPARE(names(store, NotesViews::docTypeSource(5)), QStringList{"Budget"});
        QCOMPARE(NotesViews::docTypeTabs()[4].pane, NotesViews::Pane::List);
        QVERIFY(NotesViews::docTypeSource(7).isEmpty());
        QCOMPARE(names(store, NotesViews::byDateSource()).first(), QStringLiteral("Wishes"));
        QCOMPARE(names(store, NotesViews::byCategorySource()).last(),
                 QStringLiteral("O'Brien's 100%_plan"));
    }

    void filterListsHoldDistinctValues()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        const NotesFilterLists lists = NotesFilterLists::read(store);
        QStringList keywords = lists.keywords;
        keywords.sort();
        QCOMPARE(keywords, (QStringList{"blue", "red"}));
        QCOMPARE(lists.flags.size(), 2);
        QVERIFY(lists.extensions.contains(QStringLiteral("XLS")));
        QVERIFY(!lists.extensions.contains(QStringLiteral("All")));
        // Categories compare without regard to case, not to blanks.
        QCOMPARE(lists.categories.size(), 4);
        QCOMPARE(lists.versions, (QStringList{"1", "2"}));
        QStringList unique{"a"};
        AddUnique(unique, QStringLiteral("A"));
        AddUnique(unique, QStringLiteral("a"));
        QCOMPARE(unique, (QStringList{"a", "A"}));
    }

    void gridIsBoundToTheFields()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        KeyedGridModel grid;
        QVERIFY(DocumentGrid::fill(store, NotesViews::alphabetSource(QStringLiteral("All")),
                                   NotesViews::defaultCaptions(), grid,
                                   DocumentGrid::dateFormat(true)));
        QCOMPARE(grid.columns(), 16);
        QCOMPARE(grid.columnInfo(1).caption, QStringLiteral("Document Name"));
        QCOMPARE(grid.columnInfo(1).widthChars, 23);
        QCOMPARE(grid.columnInfo(15).caption, QStringLiteral("Picfilelink"));
        QCOMPARE(grid.column(QStringLiteral("DOCTYPE")), 14);
        QCOMPARE(grid.columnInfo(grid.column(QStringLiteral("date"))).type, GridCellType::Date);
        QCOMPARE(grid.text(1, QStringLiteral("DocumentName")), QStringLiteral("Budget"));
        QCOMPARE(grid.text(1, QStringLiteral("date")), QStringLiteral("30 Nov-2025"));
        DocumentGrid::setDateFormat(grid, DocumentGrid::dateFormat(false));
        QCOMPARE(grid.text(1, QStringLiteral("mDate")), QStringLiteral("Apr 01-2026"));
        QCOMPARE(grid.text(6, QStringLiteral("date")), QString()); // Wishes has no date

        // A statement that fails leaves the grid as it was.
        QString error;
        QVERIFY(!DocumentGrid::fill(store, QStringLiteral("select nothing from nowhere"), QString(),
                                    grid, QString(), nullptr, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(grid.dataRows(), 6);
        QCOMPARE(grid.columns(), 16);
    }

    void loaderReadsPageByPage()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        KeyedGridModel grid;
        DocumentLoader loader(store);
        QVERIFY(loader.start(grid, NotesViews::alphabetSource(QStringLiteral("All")),
                             NotesViews::defaultCaptions(), QString(), nullptr, 2));
        QCOMPARE(grid.dataRows(), 2);
        QVERIFY(!loader.atEnd());
        QCOMPARE(loader.more(3), 3);
        QCOMPARE(grid.dataRows(), 5);
        loader.finish();
        QVERIFY(loader.atEnd());
        QCOMPARE(grid.dataRows(), 6);
        QCOMPARE(grid.text(6, QStringLiteral("DocumentName")), QStringLiteral("Wishes"));
        QCOMPARE(loader.more(5), 7);
    }

    void groupedViewsHeadTheirGroups()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        KeyedGridModel grid;
        const DocumentGrid::Grouping byCategory{QStringLiteral("CATEGORY1"),
                                                [](const QString &value) { return value; }};
        QVERIFY(DocumentGrid::fill(store, NotesViews::byCategoryViewSource(),
                                   NotesViews::byCategoryViewCaptions(), grid,
                                   QStringLiteral("yy-MM-dd"), &byCategory));
        QStringList rows;
        for (int row = grid.fixedRows(); row < grid.rows(); ++row)
            rows << (grid.isRowHeading(row)
                         ? QStringLiteral("# ") + grid.text(row, QStringLiteral("CATEGORY1"))
                         : grid.text(row, QStringLiteral("DOCUMENTNAME")));
        // "Home " and "Home" are one group once trimmed; Wishes has no date and is left out.
        QCOMPARE(rows, (QStringList{"# Home", "Größe* notes", "Letter to Ann", "Budget",
                                    "# Recipes", "lemon tart", "# Work", "O'Brien's 100%_plan"}));
        QCOMPARE(grid.text(2, QStringLiteral("DATE")), QStringLiteral("25-12-24"));

        const DocumentGrid::Grouping byMonth{QStringLiteral("MONTH"), [](const QString &value) {
                                                 return QStringLiteral("m") + value;
                                             }};
        QVERIFY(DocumentGrid::fill(store, NotesViews::byMonthViewSource(),
                                   NotesViews::byMonthViewCaptions(), grid,
                                   DocumentGrid::dateFormat(false), &byMonth));
        QStringList months;
        for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
            if (grid.isRowHeading(row))
                months << grid.text(row, QStringLiteral("MONTH"));
        }
        // Newest first; Größe has no modification date.
        QCOMPARE(months, (QStringList{"m4", "m3", "m2", "m12"}));
        QCOMPARE(grid.dataRows(), 5 + 4);
    }

    void simpleAndDetailViewsAndColumnChoice()
    {
        Store store(Store::Kind::Data);
        addDocuments(store);
        KeyedGridModel grid;
        QVERIFY(DocumentGrid::fill(store, NotesViews::alphabetSource(QStringLiteral("All")),
                                   NotesViews::defaultCaptions(), grid, QString()));
        const auto shown = [&grid] {
            QStringList keys;
            for (int c = 0; c < grid.columns(); ++c) {
                if (!grid.columnInfo(c).hidden)
                    keys << grid.columnInfo(c).key;
            }
            return keys;
        };
        DocumentGrid::ApplySimpleView(grid, false);
        QCOMPARE(shown(), QStringList{"DocumentName"});
        DocumentGrid::ApplySimpleView(grid, true);
        QCOMPARE(shown(),
                 (QStringList{"DocumentName", "date", "Category1", "Type", "mDate", "SerialNo",
                              "Author", "Version", "Progress", "Flags", "path"}));
        // The spreadsheet row is coloured, the others not.
        QCOMPARE(grid.cellBackground(1, 0), DocumentGrid::spreadsheetColour());
        QVERIFY(!grid.cellBackground(2, 0).isValid());

        QVERIFY(ColumnChoice::write(store, QStringLiteral("author"), false));
        QVERIFY(ColumnChoice::write(store, QStringLiteral("Flags"), false));
        QVERIFY(ColumnChoice::write(store, QStringLiteral("Flags"), true));
        QVERIFY(!ColumnChoice::write(store, QStringLiteral("Content"), false));
        QVERIFY(
            store.exec(QStringLiteral("insert into Nv_nbShow (FldName, Show) values ('id', 1)")));
        QCOMPARE(store.value(QStringLiteral("select count(*) from Nv_nbShow")).toInt(), 3);
        ColumnChoice::ApplyColumnChoice(store, grid);
        QVERIFY(!shown().contains(QStringLiteral("Author")));
        QVERIFY(shown().contains(QStringLiteral("Flags")));
        QVERIFY(!shown().contains(QStringLiteral("id"))); // not a column a choice may show
    }

    void contentLikeSearchesTheRtfSource()
    {
        // Without the index, content search reads the body copy as the program always did.
        Store store(Store::Kind::Data);
        NotesCatalogue catalogue(store);
        DocumentRecord record;
        record.documentName = QStringLiteral("menu");
        record.path = QStringLiteral("/d/menu.rtf");
        record.content = QStringLiteral("{\\rtf1 caf\\'e9 50%*}");
        QVERIFY(catalogue.writeRow(record));
        QCOMPARE(names(store, NotesViews::contentSource(
                                  NotesViews::contentLikeCondition(QStringLiteral("caf\\'e9")))),
                 QStringList{"menu"});
        QCOMPARE(names(store, NotesViews::contentSource(
                                  NotesViews::contentLikeCondition(QStringLiteral("café")))),
                 QStringList{});
        QCOMPARE(names(store, NotesViews::contentSource(
                                  NotesViews::contentLikeCondition(QStringLiteral("50%*")))),
                 QStringList{"menu"});
    }
};

Q_DECLARE_METATYPE(NotesFilterFields)

QTEST_MAIN(tst_NotesViews)
#include "tst_NotesViews.moc"
