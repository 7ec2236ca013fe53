// Writes seeds for fuzz_paradox into a folder: tables pxlib makes with every field type it
// writes, filled with values (one of several data blocks), an empty one, and one with a primary
// key count. Each seed is in fuzz_paradox's input layout: the BLOB file's length (2 bytes,
// little-endian, here 0), a flags byte (1: write as well), the table.
//   paradox_seeds FOLDER

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>

extern "C" {
#include <paradox.h>
}

namespace
{

struct Spec {
    const char *name;
    char type;
    int length;
};

const QList<Spec> everyType{{"Name", pxfAlpha, 20},     {"Born", pxfDate, 4},
                            {"Count", pxfShort, 2},     {"Total", pxfLong, 4},
                            {"Price", pxfCurrency, 8},  {"Rate", pxfNumber, 8},
                            {"Ok", pxfLogical, 1},      {"At", pxfTime, 4},
                            {"Stamp", pxfTimestamp, 8}, {"Id", pxfAutoInc, 4}};

// A table of the given fields with rows records of made-up values.
QByteArray makeTable(const QString &path, const QList<Spec> &specs, int rows)
{
    pxdoc_t *doc = PX_new();
    auto *fields =
        static_cast<pxfield_t *>(doc->malloc(doc, size_t(specs.size()) * sizeof(pxfield_t), "f"));
    for (qsizetype i = 0; i < specs.size(); ++i)
        fields[i] = pxfield_t{PX_strdup(doc, specs[i].name), specs[i].type, specs[i].length, 0};
    bool ok = PX_create_file(doc, fields, int(specs.size()), QFile::encodeName(path).constData(),
                             pxfFileTypNonIndexDB) >= 0;
    for (int r = 0; ok && r < rows; ++r) {
        auto **record = static_cast<pxval_t **>(
            doc->malloc(doc, size_t(specs.size()) * sizeof(pxval_t *), "r"));
        for (qsizetype i = 0; i < specs.size(); ++i) {
            MAKE_PXVAL(doc, record[i]);
            record[i]->type = specs[i].type;
            record[i]->isnull = r % 5 == 4 ? 1 : 0;
            if (specs[i].type == pxfAlpha) {
                record[i]->value.str.val = PX_strdup(doc, r % 2 ? "row \xE9t\xE9" : "row");
                record[i]->value.str.len = int(qstrlen(record[i]->value.str.val));
            } else if (specs[i].type == pxfCurrency || specs[i].type == pxfNumber ||
                       specs[i].type == pxfTimestamp) {
                record[i]->value.dval = specs[i].type == pxfTimestamp ? 6.3e13 + r : r * 2.5 - 7;
            } else {
                record[i]->value.lval = specs[i].type == pxfDate ? 738000 + r : r - 3;
            }
        }
        ok = PX_insert_record(doc, record) >= 0;
        for (qsizetype i = 0; i < specs.size(); ++i) {
            if (specs[i].type == pxfAlpha)
                doc->free(doc, record[i]->value.str.val);
            doc->free(doc, record[i]);
        }
        doc->free(doc, record);
    }
    PX_close(doc);
    PX_delete(doc);
    QFile file(path);
    return ok && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir scratch;
    if (argc != 2 || !scratch.isValid() || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        fprintf(stderr, "usage: paradox_seeds FOLDER\n");
        return 2;
    }
    struct Seed {
        const char *name;
        QList<Spec> specs;
        int rows;
        bool write;
    };
    const QList<Seed> seeds{
        {"every-type", everyType, 6, false},
        {"every-type-write", everyType, 6, true},
        {"three-blocks", {{"Name", pxfAlpha, 200}}, 200, true},
        {"empty", everyType, 0, true},
        {"two-fields", {{"Name", pxfAlpha, 10}, {"Qty", pxfShort, 2}}, 12, true}};
    int written = 0;
    for (const Seed &seed : seeds) {
        const QByteArray table =
            makeTable(scratch.filePath(QLatin1String(seed.name) + QLatin1String(".db")), seed.specs,
                      seed.rows);
        QFile file(QString::fromLocal8Bit(argv[1]) + QLatin1Char('/') + QLatin1String(seed.name) +
                   QLatin1String(".seed"));
        const QByteArray head("\0\0", 2);
        if (!table.isEmpty() && file.open(QIODevice::WriteOnly) &&
            file.write(head + char(seed.write ? 1 : 0) + table) > 0)
            ++written;
    }
    printf("%d seeds\n", written);
    return written > 0 ? 0 : 1;
}
