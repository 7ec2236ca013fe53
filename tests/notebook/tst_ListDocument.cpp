#include "ListDocument.h"

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QTest>

// List documents (.nvs): every cell and the column layout survive a save and a load, and a
// damaged or foreign file is refused with a reason instead of misread.
class tst_ListDocument : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void everyCellRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Bread";
        QTest::newRow("empty") << "";
        QTest::newRow("tab inside") << "a\tb";
        QTest::newRow("line feed and carriage return") << "first\r\nsecond\nthird\r";
        QTest::newRow("backslashes") << "C:\\NVUserFiles\\List\\";
        QTest::newRow("backslash before t") << "\\t is not a tab";
        QTest::newRow("trailing backslash") << "ends with \\";
        QTest::newRow("blanks kept") << "  leading and trailing  ";
        QTest::newRow("non-ASCII") << "Café Größe 東京 😀";
        QTest::newRow("looks like a record") << "row\t3\tx";
        QTest::newRow("quotes") << "O'Brien \"quoted\"";
    }

    void everyCellRoundTrips()
    {
        QFETCH(QString, text);
        ListDocument list(3, 4);
        list.setCell(1, 2, text);
        list.setCell(2, 3, QStringLiteral("last"));
        const std::optional<ListDocument> back = ListDocument::read(list.write());
        QVERIFY(back);
        QCOMPARE(back->cell(1, 2), text);
        QCOMPARE(back->cell(2, 3), QStringLiteral("last"));
        QCOMPARE(*back, list);
    }

    void layoutAndSizeRoundTripThroughAFile()
    {
        ListDocument list(500, 50);
        list.setFixed(1, 1);
        for (int c = 1; c < 50; ++c)
            list.setCell(0, c, QStringLiteral("C%1").arg(c));
        list.setColumn(2, {120, false, Qt::AlignRight});
        list.setColumn(3, {0, true, Qt::AlignHCenter});
        list.setCell(499, 49, QStringLiteral("corner"));
        const QString path = m_env->scratch() + QStringLiteral("/Prices ä.nvs");
        QString error;
        QVERIFY2(list.save(path, &error), qPrintable(error));
        const std::optional<ListDocument> back = ListDocument::load(path, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->rows(), 500);
        QCOMPARE(back->columns(), 50);
        QCOMPARE(back->fixedRows(), 1);
        QCOMPARE(back->fixedColumns(), 1);
        QCOMPARE(back->column(2), (ListDocument::Column{120, false, Qt::AlignRight}));
        QCOMPARE(back->column(3), (ListDocument::Column{0, true, Qt::AlignHCenter}));
        QCOMPARE(back->column(4), ListDocument::Column());
        QCOMPARE(*back, list);
        // Empty rows are left out of the file: a blank sheet stays small.
        QVERIFY(ReadBytes(path).size() < 2000);
    }

    void theFileIsUtf8TextAsDocumented()
    {
        ListDocument list(2, 2);
        list.setFixed(1, 0);
        list.setCell(0, 0, QStringLiteral("Item"));
        list.setCell(1, 1, QStringLiteral("é\t"));
        QCOMPARE(list.write(), QByteArray("NuvelaList\t1\nsize\t2\t2\nfixed\t1\t0\nrow\t0\tItem\n"
                                          "row\t1\t\t\xC3\xA9\\t\n"));
    }

    void writtenByHandIsRead()
    {
        // Carriage returns before line feeds, blank lines and a record kind of a later version.
        const QByteArray file = "NuvelaList\t1\r\nsize\t3\t3\r\n\r\ncolour\t1\tred\r\n"
                                "row\t2\tx\\ny\t\tz\r\nrow\t0\r\n";
        QString error;
        const std::optional<ListDocument> list = ListDocument::read(file, &error);
        QVERIFY2(list, qPrintable(error));
        QCOMPARE(list->cell(2, 0), QStringLiteral("x\ny"));
        QCOMPARE(list->cell(2, 1), QString());
        QCOMPARE(list->cell(2, 2), QStringLiteral("z"));
        QCOMPARE(list->plainText(), QStringLiteral("x\ny\t\tz"));
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "This is not a list document.";
        QTest::newRow("another format")
            << QByteArray("{\\rtf1 hello}") << "This is not a list document.";
        QTest::newRow("later version") << QByteArray("NuvelaList\t2\nsize\t1\t1\n")
                                       << "Line 1 of the list document: made by a later version of "
                                          "the program (format 2).";
        QTest::newRow("no version")
            << QByteArray("NuvelaList\tx\n") << "Line 1 of the list document: no format version.";
        QTest::newRow("no size") << QByteArray("NuvelaList\t1\n")
                                 << "The list document has no size.";
        QTest::newRow("huge size")
            << QByteArray("NuvelaList\t1\nsize\t100000\t100000\n")
            << "Line 2 of the list document: the size is not readable or too "
               "large.";
        QTest::newRow("negative size")
            << QByteArray("NuvelaList\t1\nsize\t-1\t3\n")
            << "Line 2 of the list document: the size is not readable or "
               "too large.";
        QTest::newRow("row outside") << QByteArray("NuvelaList\t1\nsize\t2\t2\nrow\t2\ta\n")
                                     << "Line 3 of the list document: a row outside the size.";
        QTest::newRow("too many cells")
            << QByteArray("NuvelaList\t1\nsize\t1\t2\nrow\t0\ta\tb\tc\n")
            << "Line 3 of the list document: more cells than columns.";
        QTest::newRow("column outside")
            << QByteArray("NuvelaList\t1\nsize\t1\t2\ncolumn\t2\t40\n")
            << "Line 3 of the list document: a column outside the size.";
        QTest::newRow("cells before size") << QByteArray("NuvelaList\t1\nrow\t0\ta\nsize\t1\t1\n")
                                           << "Line 2 of the list document: cells before the size.";
        QTest::newRow("fixed beyond size") << QByteArray("NuvelaList\t1\nsize\t1\t1\nfixed\t2\t0\n")
                                           << "Line 3 of the list document: the fixed rows and "
                                              "columns are outside the size.";
    }

    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, reason);
        QString error;
        QVERIFY(!ListDocument::read(file, &error));
        QCOMPARE(error, reason);
    }

    void aFailedSaveKeepsTheOldFile()
    {
        const QString path = m_env->writeFile(QStringLiteral("keep.nvs"), "old contents");
        QFile::setPermissions(m_env->scratch(), QFile::ReadOwner | QFile::ExeOwner);
        ListDocument list(1, 1);
        list.setCell(0, 0, QStringLiteral("new"));
        QString error;
        const bool saved = list.save(path, &error);
        QFile::setPermissions(m_env->scratch(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (saved)
            QSKIP("the folder stayed writable (running as root)");
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadBytes(path), QByteArray("old contents"));
        QVERIFY(!ListDocument::load(m_env->scratch() + QStringLiteral("/missing.nvs"), &error));
        QVERIFY(!error.isEmpty());
    }

    void sizesStayWithinBounds()
    {
        ListDocument list(-3, 5);
        QCOMPARE(list.rows(), 0);
        list.resize(2, 2);
        list.setFixed(5, -1);
        QCOMPARE(list.fixedRows(), 2);
        QCOMPARE(list.fixedColumns(), 0);
        list.setCell(7, 0, QStringLiteral("ignored"));
        QCOMPARE(list.cell(7, 0), QString());
    }
};

QTEST_GUILESS_MAIN(tst_ListDocument)
#include "tst_ListDocument.moc"
