#include "GridExport.h"
#include "GridExportJob.h"
#include "GridRowSource.h"
#include "GridRows.h"
#include "KeyedGridModel.h"
#include "ListSheet.h"
#include "OfficeTools.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "XlsxSheetWriter.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

// Grids leaving the program: the shown rows read from any thread, CSV, HTML and xlsx files
// written whole or not at all, the export title and the blank list sheet.
class tst_GridExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    // Name | Amount | Note, with a hidden column and a hidden row.
    static void fill(KeyedGridModel &grid)
    {
        grid.setFormatText(QStringLiteral("Name      |Amount |Secret |Note           "));
        grid.setColumnKeys({"Name", "Amount", "Secret", "Note"});
        grid.setColumnHidden(QStringLiteral("Secret"), true);
        grid.setColumnAlignment(QStringLiteral("Amount"), Qt::AlignRight | Qt::AlignVCenter);
        const QList<QStringList> rows = {
            {"Müller, Jürgen", "12.50", "x", "says \"hi\""},
            {"hidden row", "1", "x", ""},
            {"O'Brien", "007", "x", "two\nlines"},
            {"  padded ", "-3", "x", "<b>&amp;</b>"},
        };
        for (const QStringList &cells : rows) {
            const int row = grid.appendRow();
            for (int c = 0; c < cells.size(); ++c)
                grid.setText(row, c, cells[c]);
        }
        grid.setRowHidden(grid.fixedRows() + 1, true);
    }

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void readsShownColumnsAndRows()
    {
        KeyedGridModel grid;
        fill(grid);
        const GridRows rows(grid);
        QCOMPARE(rows.captions(), QStringList({"Name", "Amount", "Note"}));
        QCOMPARE(rows.rowCount(), 3);
        QCOMPARE(rows.read(1, 5), QList<QStringList>({{"O'Brien", "007", "two\nlines"},
                                                      {"  padded ", "-3", "<b>&amp;</b>"}}));
        QVERIFY(rows.read(3, 2).isEmpty());
        QVERIFY(rows.read(-4, 1).size() == 1);
    }

    // A job's thread reads through the grid's thread, and a grid that is gone reads as nothing.
    void readsFromAnotherThread()
    {
        KeyedGridModel grid;
        fill(grid);
        const GridRows rows(grid);
        QList<QStringList> page;
        QThread *reader = QThread::create([&] { page = rows.read(0, 10); });
        reader->start();
        QTRY_VERIFY(reader->isFinished());
        delete reader;
        QCOMPARE(page.size(), 3);
        QCOMPARE(page[0][0], QStringLiteral("Müller, Jürgen"));

        // Nobody serves the wait: a cancel flag ends it.
        bool cancelled = false;
        std::atomic<bool> stop{false};
        QThread *waiting = QThread::create(
            [&] { cancelled = rows.read(0, 10, [&stop] { return stop.load(); }).isEmpty(); });
        waiting->start();
        QThread::msleep(120);
        stop = true;
        QVERIFY(waiting->wait(5000));
        delete waiting;
        QVERIFY(cancelled);
        QCoreApplication::processEvents(); // the late page lands nowhere
    }

    void csvAndHtmlFiles_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << int(GridExport::Format::Csv)
                             << QByteArray("\xEF\xBB\xBFName,Amount,Note\r\n"
                                           "\"Müller, Jürgen\",12.50,\"says \"\"hi\"\"\"\r\n"
                                           "O'Brien,007,\"two\nlines\"\r\n"
                                           "\"  padded \",-3,<b>&amp;</b>\r\n");
        QTest::newRow("html") << int(GridExport::Format::Html)
                              << QByteArray("<tr><td>O'Brien</td><td style=\"text-align: "
                                            "right\">007</td><td>two<br>lines</td></tr>\n<tr><td>"
                                            "  padded </td><td style=\"text-align: right\">-3</td>"
                                            "<td>&lt;b&gt;&amp;amp;&lt;/b&gt;</td></tr>\n");
    }

    void csvAndHtmlFiles()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, expected);
        KeyedGridModel grid;
        fill(grid);
        const QString path = m_env->scratch() + QStringLiteral("/out");
        QString error;
        QVERIFY(GridExport::write(GridExport::Format(format), path, GridRows(grid),
                                  QStringLiteral("A <title>"), {}, &error));
        QVERIFY(error.isEmpty());
        const QByteArray bytes = ReadBytes(path);
        if (GridExport::Format(format) == GridExport::Format::Csv) {
            QCOMPARE(bytes, expected);
        } else {
            QVERIFY(bytes.contains("<title>A &lt;title&gt;</title>"));
            QVERIFY(bytes.contains("<thead>\n<tr><th>Name</th>"));
            QVERIFY2(bytes.contains(expected), bytes.constData());
            QVERIFY(bytes.endsWith("</table>\n</body>\n</html>\n"));
        }
    }

    void csvFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "abc"
                               << "abc";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("comma") << "a,b"
                               << "\"a,b\"";
        QTest::newRow("quote") << "a\"b"
                               << "\"a\"\"b\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
        QTest::newRow("trailing blank") << "a "
                                        << "\"a \"";
        QTest::newRow("inner blank") << "a b"
                                     << "a b";
    }

    void csvFields()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(GridExport::csvField(text), field);
    }

    // The old file stays whole until the new one is complete; a cancel leaves nothing new.
    void cancelKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("csv") << int(GridExport::Format::Csv);
        QTest::newRow("xlsx") << int(GridExport::Format::Xlsx);
    }

    void cancelKeepsTheOldFile()
    {
        QFETCH(int, format);
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("A|B"));
        grid.appendRows(3 * GridRows::PageRows, [&grid](int row) { grid.setText(row, 0, "v"); });
        const GridRows rows(grid);
        const QString path = m_env->writeFile(QStringLiteral("out/old.file"), "old contents");
        int pages = 0;
        GridExport::Monitor monitor;
        monitor.rowsDone = [&pages](int) { ++pages; };
        monitor.cancelled = [&pages] { return pages >= 2; };
        QString error;
        QVERIFY(!GridExport::write(GridExport::Format(format), path, rows, "t", monitor, &error));
        QCOMPARE(pages, 2);
        QCOMPARE(ReadBytes(path), QByteArray("old contents"));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"old.file"});
    }

    void unwritableFolderIsReported_data() { csvAndHtmlFiles_data(); }

    void unwritableFolderIsReported()
    {
        QFETCH(int, format);
        KeyedGridModel grid;
        fill(grid);
        QString error;
        QVERIFY(!GridExport::write(GridExport::Format(format),
                                   m_env->scratch() + QStringLiteral("/missing/out.x"),
                                   GridRows(grid), "t", {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!GridExport::write(GridExport::Format::Xlsx,
                                   m_env->scratch() + QStringLiteral("/missing/out.xlsx"),
                                   GridRows(grid), "t", {}, &error));
    }

    void jobCountsRowsAndCancels()
    {
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("A|B"));
        grid.appendRows(5000, [&grid](int row) { grid.setText(row, 1, QString::number(row)); });
        const GridRows rows(grid);
        const QString path = m_env->scratch() + QStringLiteral("/job.csv");
        GridExportJob job(rows, GridExport::Format::Csv, path, "t");
        job.runHere();
        QVERIFY(job.succeeded());
        QCOMPARE(job.filesDone(), 5000);
        QCOMPARE(job.filesTotal(), 5000);
        QCOMPARE(ReadBytes(path).count('\n'), 5001);

        GridExportJob cancelled(rows, GridExport::Format::Csv, path + ".2", "t");
        connect(
            &cancelled, &Job::filesCounted, &cancelled, [&cancelled] { cancelled.cancel(); },
            Qt::DirectConnection);
        cancelled.runHere();
        QVERIFY(!cancelled.succeeded());
        QVERIFY(cancelled.error().isEmpty());
        QVERIFY(!QFileInfo::exists(path + ".2"));
    }

    // A grid whose rows a source keeps (the Database utility's records) is read page by page
    // through the grid's thread while the job writes on its own.
    void lazyGridExportsFromAJobThread()
    {
        struct Records final : GridRowSource {
            int rowCount() const override { return 12345; }
            QString text(int row, int column) const override
            {
                return QStringLiteral("r%1c%2").arg(row).arg(column);
            }
        };
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("A|B"));
        grid.setRowSource(std::make_shared<Records>());
        const GridRows rows(grid);
        QCOMPARE(rows.rowCount(), 12345);
        const QString path = m_env->scratch() + QStringLiteral("/lazy.csv");
        GridExportJob job(rows, GridExport::Format::Csv, path, "t");
        QEventLoop loop;
        connect(&job, &Job::finished, &loop, &QEventLoop::quit);
        job.start();
        loop.exec();
        QVERIFY(job.succeeded());
        const QList<QByteArray> lines = ReadBytes(path).split('\n');
        QCOMPARE(lines.size(), 12347); // captions, rows, and the empty piece after the last
        QCOMPARE(lines[12345], QByteArray("r12344c0,r12344c1\r"));
    }

    void xlsxIsAWorkbook()
    {
        KeyedGridModel grid;
        fill(grid);
        const QString path = m_env->scratch() + QStringLiteral("/book.xlsx");
        QString error;
        QVERIFY2(
            GridExport::write(GridExport::Format::Xlsx, path, GridRows(grid), "Title", {}, &error),
            qPrintable(error));
        const QByteArray bytes = ReadBytes(path);
        QVERIFY(bytes.startsWith("PK\x03\x04"));
        QVERIFY(bytes.contains("xl/worksheets/sheet1.xml"));
        QCOMPARE(QDir(m_env->scratch()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"book.xlsx"});
    }

    // LibreOffice reads the workbook back: texts, numbers and non-ASCII letters as written.
    void xlsxOpensInLibreOffice()
    {
        NUVELA_REQUIRE_OFFICE();
        KeyedGridModel grid;
        fill(grid);
        const QString path = m_env->scratch() + QStringLiteral("/book.xlsx");
        QVERIFY(GridExport::write(GridExport::Format::Xlsx, path, GridRows(grid), "T"));
        const QString csv =
            OfficeConvert(path, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                          m_env->scratch(), m_env->scratch() + "/profile");
        QVERIFY2(!csv.isEmpty(), "LibreOffice did not convert the workbook");
        const QString text = QString::fromUtf8(ReadBytes(csv));
        QVERIFY2(text.startsWith(QStringLiteral("Name,Amount,Note\n\"Müller, Jürgen\",12.5,")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("O'Brien,007,")));
        QVERIFY(text.contains(QStringLiteral("-3,<b>&amp;</b>")));
    }

    void xlsxCells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("integer") << "42" << true << QByteArray("42");
        QTest::newRow("negative decimal") << "-0.25" << true << QByteArray("-0.25");
        QTest::newRow("leading zero") << "007" << false << QByteArray("007");
        QTest::newRow("exponent") << "1e5" << false << QByteArray("1e5");
        QTest::newRow("sixteen digits")
            << "1234567890123456" << false << QByteArray("1234567890123456");
        QTest::newRow("control characters") << "a\x01\tb\x1f" << false << QByteArray("a\tb");
        QTest::newRow("letters") << "Zoë" << false << QByteArray("Zo\xc3\xab");
    }

    void xlsxCells()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QFETCH(QByteArray, kept);
        QCOMPARE(XlsxSheetWriter::isNumber(text), number);
        QCOMPARE(XlsxSheetWriter::cellText(text), kept);
    }

    void xlsxCellsAreCutAtTheLimit()
    {
        const QString emoji = QStringLiteral("\U0001F600");
        const QByteArray cut = XlsxSheetWriter::cellText(QString(32766, u'a') + emoji);
        QCOMPARE(cut.size(), 32766); // the pair does not fit and is left out whole
        QCOMPARE(XlsxSheetWriter::cellText(QString(40000, u'b')).size(), 32767);
    }

    void titles_data()
    {
        QTest::addColumn<bool>("national");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("title");
        QTest::newRow("national") << true << "/data/shop.dbf"
                                  << "04 Dec-2026 - shop.dbf";
        QTest::newRow("month first") << false << "Customers"
                                     << "Dec 04-2026 - Customers";
        QTest::newRow("windows folder") << true << "C:\\db\\Orders"
                                        << "04 Dec-2026 - Orders";
    }

    void titles()
    {
        QFETCH(bool, national);
        QFETCH(QString, table);
        QFETCH(QString, title);
        QCOMPARE(GridExport::title(QDate(2026, 12, 4), national, table), title);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("date and name") << "04 Dec-2026 - shop"
                                       << "04 Dec-2026 - shop";
        QTest::newRow("refused characters") << "a/b\\c:d*e?f\"g<h>i|j"
                                            << "a_b_c_d_e_f_g_h_i_j";
        QTest::newRow("empty") << "  "
                               << "Export";
        QTest::newRow("dots") << ".."
                              << "Export";
    }

    void fileNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(GridExport::fileNameOf(title), name);
    }

    void blankListSheet()
    {
        KeyedGridModel grid;
        grid.setFormatText(QStringLiteral("Old|Columns"));
        grid.appendRow();
        ListSheet::ListSheetSetup(grid);
        QCOMPARE(grid.rows(), 500);
        QCOMPARE(grid.columns(), 50);
        QCOMPARE(grid.fixedRows(), 1);
        QCOMPARE(grid.columnInfo(0).caption, QString());
        QCOMPARE(grid.columnInfo(1).caption, QStringLiteral("C1"));
        QCOMPARE(grid.columnInfo(49).caption, QStringLiteral("C49"));
        QCOMPARE(grid.textAt(1, 0), QStringLiteral("R1"));
        QCOMPARE(grid.textAt(499, 0), QStringLiteral("R499"));
        QCOMPARE(grid.textAt(1, 1), QString());
        QCOMPARE(grid.textAt(499, 49), QString());
    }
};

QTEST_GUILESS_MAIN(tst_GridExport)
#include "tst_GridExport.moc"
