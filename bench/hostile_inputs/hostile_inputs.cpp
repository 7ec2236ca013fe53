// Inputs whose cost once grew much faster than their size: builds each file in a scratch folder,
// reads or writes it as the program does, and prints one line per case:
//   case=NAME ms=T peak_kb=M
// T is wall-clock milliseconds; M is the peak resident memory while the case ran (the peak is
// reset before each case). hostile_inputs [CASE...] runs the named cases only.
#include "CsvTable.h"
#include "DbfTable.h"
#include "ForeignDatabase.h"
#include "JetSql.h"
#include "ParadoxTable.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>

#include <cstdio>
#include <functional>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace
{

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Linux keeps the peak resident size per process; writing 5 to clear_refs starts it afresh.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

qint64 peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads an RTF file; true when the document's last paragraph ends with lastText.
bool readRtf(const QString &path, const QString &lastText)
{
    QTextDocument document;
    RtfReader reader;
    return reader.read(readFile(path), &document) && document.lastBlock().text().endsWith(lastText);
}

// 2,049 rows of 63 cells: one row past a power of two once cost a dozen seconds.
bool makeTableRows(const QString &dir)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    QByteArray row = "\\trowd";
    for (int c = 1; c <= 63; ++c)
        row += "\\cellx" + QByteArray::number(c * 150);
    for (int r = 0; r < 2049; ++r) {
        rtf += row;
        for (int c = 0; c < 63; ++c)
            rtf += "\\intbl r" + QByteArray::number(r) + "c" + QByteArray::number(c) + "\\cell";
        rtf += "\\row\n";
    }
    return writeFile(dir + QStringLiteral("/table.rtf"), rtf + "\\pard after the table\\par}");
}

bool rtfTableRows(const QString &dir)
{
    return readRtf(dir + QStringLiteral("/table.rtf"), QStringLiteral("after the table"));
}

// 20,000 runs, each in a font of its own.
bool makeFonts(const QString &dir)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl";
    for (int f = 0; f < 20000; ++f)
        rtf += "{\\f" + QByteArray::number(f) + " Family " + QByteArray::number(f) + ";}";
    rtf += "}";
    for (int f = 0; f < 20000; ++f)
        rtf += "{\\f" + QByteArray::number(f) + " run " + QByteArray::number(f) + "}";
    return writeFile(dir + QStringLiteral("/fonts.rtf"), rtf + "}");
}

bool rtfFonts(const QString &dir)
{
    return readRtf(dir + QStringLiteral("/fonts.rtf"), QStringLiteral("run 19999"));
}

// 100,000 runs in as many colours, written; the document is made beforehand.
std::unique_ptr<QTextDocument> colorfulDocument;

bool makeColors(const QString &)
{
    colorfulDocument = std::make_unique<QTextDocument>();
    QTextCursor cursor(colorfulDocument.get());
    cursor.beginEditBlock();
    for (int i = 0; i < 100000; ++i) {
        QTextCharFormat format;
        format.setForeground(QColor::fromRgb(QRgb(0x10000 + i * 97)));
        cursor.insertText(QStringLiteral("c%1 ").arg(i), format);
        if (i % 100 == 99)
            cursor.insertBlock();
    }
    cursor.endEditBlock();
    return true;
}

bool rtfColorsWrite(const QString &)
{
    const bool ok = RtfWriter().write(*colorfulDocument).size() > 100000;
    colorfulDocument.reset();
    return ok;
}

bool makeParadox(const QString &dir)
{
    const QString path = dir + QStringLiteral("/orders.db");
    pxdoc_t *doc = PX_new();
    auto *fields = static_cast<pxfield_t *>(doc->malloc(doc, 2 * sizeof(pxfield_t), "f"));
    fields[0] = pxfield_t{PX_strdup(doc, "Name"), pxfAlpha, 20, 0};
    fields[1] = pxfield_t{PX_strdup(doc, "Qty"), pxfLong, 4, 0};
    const bool ok = PX_create_file(doc, fields, 2, QFile::encodeName(path).constData(),
                                   pxfFileTypNonIndexDB) >= 0;
    PX_close(doc);
    PX_delete(doc);
    return ok;
}

// 2,000 inserts in one transaction, then one update of every row.
bool paradoxInserts(const QString &dir)
{
    const QString path = dir + QStringLiteral("/orders.db");
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    if (!database)
        return false;
    QSqlQuery query(database->connection());
    bool ok = query.exec(QStringLiteral("begin"));
    for (int i = 0; ok && i < 2000; ++i)
        ok = query.exec(QStringLiteral("insert into orders values ('order %1', %1)").arg(i));
    ok = ok && query.exec(QStringLiteral("commit")) &&
         query.exec(QStringLiteral("update orders set Qty = Qty + 1"));
    return ok && database->table(QStringLiteral("orders.db"))->rowCount() == 2000;
}

// 20,000 header names, all the same.
bool makeHeaderNames(const QString &dir)
{
    QByteArray header = "name";
    for (int i = 1; i < 20000; ++i)
        header += ",name";
    return writeFile(dir + QStringLiteral("/wide.csv"), header + "\n");
}

bool csvHeaderNames(const QString &dir)
{
    const QString path = dir + QStringLiteral("/wide.csv");
    QString error;
    auto table = CsvTable::open(path, SourceOptions(), &error);
    // The folder view opens it too, and says why it cannot show it.
    return table && table->fields().size() == 20000 &&
           !ForeignDatabase::open(path, SourceOptions(), &error) &&
           error.contains(QLatin1String("at most 2,000"));
}

constexpr int memoRows = 2000;

// dBase III memos without their end mark, in a 16 MB memo file.
bool makeUnterminatedMemos(const QString &dir)
{
    const int rows = memoRows;
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(quint32(1 + rows * 16), memo.data());
    memo += QByteArray(rows * 16 * 512, 'm');
    QByteArray table(32 + 32 + 1, '\0');
    table[0] = char(0x83);
    qToLittleEndian<quint32>(quint32(rows), table.data() + 4);
    qToLittleEndian<quint16>(quint16(table.size()), table.data() + 8);
    qToLittleEndian<quint16>(11, table.data() + 10);
    memcpy(table.data() + 32, "NOTE", 4);
    table[32 + 11] = 'M';
    table[32 + 16] = 10;
    table[64] = 0x0D;
    for (int r = 0; r < rows; ++r)
        table += ' ' + QByteArray::number(1 + r * 16).rightJustified(10);
    return writeFile(dir + QStringLiteral("/notes.dbf"), table + '\x1A') &&
           writeFile(dir + QStringLiteral("/notes.dbt"), memo);
}

bool dbfUnterminatedMemos(const QString &dir)
{
    QString error;
    auto dbf = DbfTable::open(dir + QStringLiteral("/notes.dbf"), SourceOptions(), &error);
    qint64 total = 0;
    for (qint64 slot = 0; dbf && slot < dbf->slotCount(); ++slot)
        total += dbf->value(slot, 0).toString().size();
    return total == qint64(memoRows) * 16 * 512;
}

bool makeSharpS(const QString &dir)
{
    return writeFile(dir + QStringLiteral("/one.csv"),
                     "word\n" + QString(400000, QChar(0xDF)).toUtf8() + "\n");
}

// ucase of 400,000 "ß" through SQL.
bool ucaseSharpS(const QString &dir)
{
    const QString path = dir + QStringLiteral("/one.csv");
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QSqlQuery query(database ? database->connection() : QSqlDatabase());
    return database &&
           query.exec(JetSql::translate(QStringLiteral("select len(ucase(word)) from one"))) &&
           query.next() && query.value(0).toInt() == 800000;
}

// A 50 MB text table of short rows.
bool makeFiftyMegabytes(const QString &dir)
{
    const QString path = dir + QStringLiteral("/rows.csv");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("id,code,qty\n");
        QByteArray chunk;
        qint64 written = 0;
        for (int i = 0; written + chunk.size() < 50 * 1000 * 1000; ++i) {
            chunk += QByteArray::number(i % 100000) + ",a" + QByteArray::number(i % 97) + ',' +
                     QByteArray::number(i % 10) + '\n';
            if (chunk.size() > (1 << 20)) {
                written += file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
    }
    return true;
}

// The 50 MB table opened, and two of its columns read through SQL.
bool csvFiftyMegabytes(const QString &dir)
{
    const QString path = dir + QStringLiteral("/rows.csv");
    QString error;
    auto database = ForeignDatabase::open(path, SourceOptions(), &error);
    QSqlQuery query(database ? database->connection() : QSqlDatabase());
    return database &&
           query.exec(QStringLiteral("select count(*), sum(qty), max(code) from rows")) &&
           query.next() && query.value(0).toLongLong() > 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList wanted = app.arguments().mid(1);
    // Each case makes its files first; only its run is measured.
    struct Case {
        const char *name;
        std::function<bool(const QString &)> make;
        std::function<bool(const QString &)> run;
    };
    const Case cases[] = {
        {"rtf_table_rows", makeTableRows, rtfTableRows},
        {"rtf_fonts", makeFonts, rtfFonts},
        {"rtf_colors_write", makeColors, rtfColorsWrite},
        {"paradox_inserts", makeParadox, paradoxInserts},
        {"csv_header_names", makeHeaderNames, csvHeaderNames},
        {"dbf_unterminated_memos", makeUnterminatedMemos, dbfUnterminatedMemos},
        {"ucase_sharp_s", makeSharpS, ucaseSharpS},
        {"csv_50mb", makeFiftyMegabytes, csvFiftyMegabytes},
    };
    int failed = 0;
    for (const Case &one : cases) {
        if (!wanted.isEmpty() && !wanted.contains(QLatin1String(one.name)))
            continue;
        QTemporaryDir dir;
        if (!one.make(dir.path())) {
            printf("case=%s cannot make its files\n", one.name);
            ++failed;
            continue;
        }
        resetPeak();
        QElapsedTimer timer;
        timer.start();
        const bool ok = one.run(dir.path());
        const qint64 ms = timer.elapsed();
        printf("case=%s ms=%lld peak_kb=%lld%s\n", one.name, ms, peakKb(), ok ? "" : " FAILED");
        fflush(stdout);
        failed += ok ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}
