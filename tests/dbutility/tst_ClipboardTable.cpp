// Cells through the clipboard as spreadsheets write and read them: tabs, line breaks and quotes
// inside cells, empty cells and rows kept, every line end read.

#include "ClipboardTable.h"

#include <QTest>

using Rows = QList<QStringList>;

class tst_ClipboardTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void readsWhatSpreadsheetsWrite_data();
    void readsWhatSpreadsheetsWrite();
};

void tst_ClipboardTable::roundTrip_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("text");

    QTest::newRow("one cell") << Rows{{"a"}} << "a\n";
    QTest::newRow("range") << Rows{{"a", "b"}, {"c", "d"}} << "a\tb\nc\td\n";
    QTest::newRow("empty cells and rows")
        << Rows{{"", "b", ""}, {""}, {"c", "", ""}} << "\tb\t\n\nc\t\t\n";
    QTest::newRow("tab in a cell") << Rows{{"a\tb", "c"}} << "\"a\tb\"\tc\n";
    QTest::newRow("line break in a cell")
        << Rows{{"line 1\nline 2"}, {"x"}} << "\"line 1\nline 2\"\nx\n";
    QTest::newRow("quotes") << Rows{{"\"quoted\"", "say \"hi\""}}
                            << "\"\"\"quoted\"\"\"\tsay \"hi\"\n";
    QTest::newRow("blanks stay") << Rows{{" padded ", "  "}} << " padded \t  \n";
}

void tst_ClipboardTable::roundTrip()
{
    QFETCH(Rows, rows);
    QFETCH(QString, text);
    QCOMPARE(ClipboardTable::text(rows), text);
    QCOMPARE(ClipboardTable::rows(text), rows);
}

void tst_ClipboardTable::readsWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");

    QTest::newRow("CR LF, last line ended") << "a\tb\r\nc\td\r\n" << Rows{{"a", "b"}, {"c", "d"}};
    QTest::newRow("last line not ended") << "a\tb\nc" << Rows{{"a", "b"}, {"c"}};
    QTest::newRow("old Mac line ends") << "a\rb\r" << Rows{{"a"}, {"b"}};
    QTest::newRow("quoted CR LF inside") << "\"1\r\n2\"\tx\r\n" << Rows{{"1\r\n2", "x"}};
    QTest::newRow("nothing") << "" << Rows{};
    QTest::newRow("one empty cell") << "\n" << Rows{{""}};
    QTest::newRow("unclosed quote reads to the end") << "\"abc\td" << Rows{{"abc\td"}};
}

void tst_ClipboardTable::readsWhatSpreadsheetsWrite()
{
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(ClipboardTable::rows(text), rows);
}

QTEST_GUILESS_MAIN(tst_ClipboardTable)
#include "tst_ClipboardTable.moc"
