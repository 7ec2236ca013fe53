#include "AccessDatabase.h"

#include "CodePage.h"
#include "FieldNames.h"
#include "FieldTypeNames.h"
#include "MemoryTable.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <glib.h>
// glib must come first: mdbtools.h uses its types without including it.
#include <mdbtools.h>

namespace
{

struct MdbCloser {
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};

// The first bytes of every Jet and ACE file, checked before libmdb sees the file.
bool looksLikeAccess(const QString &path, QString *what)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *what = file.errorString();
        return false;
    }
    const QByteArray head = file.read(0x20);
    if (head.size() < 0x20 || file.size() < 4096) {
        *what = QStringLiteral("the file is too short");
        return false;
    }
    if (!head.startsWith(QByteArray("\x00\x01\x00\x00", 4)) ||
        !(head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")) {
        *what = QStringLiteral("it does not begin as an Access file does");
        return false;
    }
    return true;
}

QVariant valueOf(MdbHandle *mdb, MdbColumn *column, const char *text, int length)
{
    if (length <= 0 && column->col_type != MDB_BOOL)
        return {};
    switch (column->col_type) {
    case MDB_BOOL:
        return QVariant(qint64(text[0] == '1' ? 1 : 0));
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return QVariant(QByteArray(text, length).toLongLong());
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_NUMERIC:
        return QVariant(QByteArray(text, length).toDouble());
    case MDB_OLE: {
        size_t size = 0;
        void *data = mdb_ole_read_full(mdb, column, &size);
        if (!data)
            return {};
        QByteArray bytes(static_cast<const char *>(data), qsizetype(size));
        free(data);
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    case MDB_BINARY:
        return QByteArray(text, length);
    default:
        return QString::fromUtf8(text, length);
    }
}

// The engine's own name of a column type, as Access shows it.
QString typeText(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL:
        return QStringLiteral("Boolean");
    case MDB_BYTE:
        return QStringLiteral("Byte");
    case MDB_INT:
        return QStringLiteral("Integer");
    case MDB_LONGINT:
        return QStringLiteral("Long Integer");
    case MDB_MONEY:
        return QStringLiteral("Currency");
    case MDB_FLOAT:
        return QStringLiteral("Single");
    case MDB_DOUBLE:
        return QStringLiteral("Double");
    case MDB_DATETIME:
        return QStringLiteral("DateTime");
    case MDB_BINARY:
        return QStringLiteral("Binary");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_OLE:
        return QStringLiteral("OLE");
    case MDB_MEMO:
        return QStringLiteral("Memo/Hyperlink");
    case MDB_REPID:
        return QStringLiteral("Replication ID");
    case MDB_NUMERIC:
        return QStringLiteral("Numeric");
    default:
        return QString::number(mdbType);
    }
}

} // namespace

int AccessDatabase::oleDbType(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL:
        return int(OleDbType::Boolean);
    case MDB_BYTE:
        return int(OleDbType::UnsignedTinyInt);
    case MDB_INT:
        return int(OleDbType::SmallInt);
    case MDB_LONGINT:
        return int(OleDbType::Integer);
    case MDB_MONEY:
        return int(OleDbType::Currency);
    case MDB_FLOAT:
        return int(OleDbType::Single);
    case MDB_DOUBLE:
        return int(OleDbType::Double);
    case MDB_DATETIME:
        return int(OleDbType::Date);
    case MDB_BINARY:
        return int(OleDbType::Binary);
    case MDB_TEXT:
        return int(OleDbType::WChar);
    case MDB_OLE:
        return int(OleDbType::LongBinary);
    case MDB_MEMO:
        return int(OleDbType::LongWChar);
    case MDB_REPID:
        return int(OleDbType::Guid);
    case MDB_NUMERIC:
        return int(OleDbType::Numeric);
    default:
        return 0;
    }
}

bool AccessDatabase::open(const QString &path, const SourceOptions &options,
                          std::vector<std::unique_ptr<SourceTable>> *tables, QString *error)
{
    const QString fileName = QFileInfo(path).fileName();
    QString what;
    if (!looksLikeAccess(path, &what)) {
        if (error)
            *error = QStringLiteral("%1 is not an Access database or is damaged: %2")
                         .arg(fileName, what);
        return false;
    }
    // libmdb takes the Jet 3 code page from the environment when it opens a file.
    static QMutex environmentLock;
    MdbHandle *raw = nullptr;
    {
        QMutexLocker locker(&environmentLock);
        const QByteArray previous = qgetenv("MDB_JET3_CHARSET");
        const bool hadPrevious = qEnvironmentVariableIsSet("MDB_JET3_CHARSET");
        qputenv("MDB_JET3_CHARSET",
                CodePage::iconvName(options.codePage > 0 ? options.codePage : 1252));
        raw = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
        if (hadPrevious)
            qputenv("MDB_JET3_CHARSET", previous);
        else
            qunsetenv("MDB_JET3_CHARSET");
    }
    if (!raw) {
        if (error)
            *error =
                QStringLiteral("%1 is not an Access database or is damaged: libmdb cannot open it")
                    .arg(fileName);
        return false;
    }
    std::shared_ptr<MdbHandle> mdb(raw, MdbCloser());
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb.get());
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        if (error)
            *error = QStringLiteral("%1 is damaged: its table list cannot be read").arg(fileName);
        return false;
    }
    const QString readOnly =
        QStringLiteral("%1 is an Access database, which this program can read but not change")
            .arg(fileName);
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        // Hidden engine tables (the data of multi-value fields) are not the user's tables either.
        if (name.startsWith(QLatin1String("MSys")) || mdb_is_system_table(entry))
            continue;
        MdbTableDef *definition = mdb_read_table(entry);
        if (!definition)
            continue;
        if (!mdb_read_columns(definition)) {
            mdb_free_tabledef(definition);
            continue;
        }
        QList<SourceField> fields;
        FieldNames names(QStringLiteral("Field"));
        for (unsigned int c = 0; c < definition->num_cols; ++c) {
            auto *column = static_cast<MdbColumn *>(g_ptr_array_index(definition->columns, c));
            SourceField field;
            field.name = names.add(QString::fromUtf8(column->name));
            field.nativeType = typeText(column->col_type);
            field.typeCode = oleDbType(column->col_type);
            // A Yes/No column takes no bytes of its own in the row; OLE DB gives it 2.
            field.size = column->col_type == MDB_BOOL ? 2 : column->col_size;
            field.decimals = column->col_scale;
            fields.append(field);
        }
        mdb_free_tabledef(definition);
        const QString tableName = name;
        MemoryTable::Loader loader = [mdb, tableName, fileName](MemoryTable::Rows *rows,
                                                                QString *loadError) {
            QByteArray utf8Name = tableName.toUtf8();
            MdbTableDef *table = mdb_read_table_by_name(mdb.get(), utf8Name.data(), MDB_TABLE);
            if (!table || !mdb_read_columns(table)) {
                *loadError =
                    QStringLiteral("%1: the table %2 cannot be read").arg(fileName, tableName);
                if (table)
                    mdb_free_tabledef(table);
                return false;
            }
            const unsigned int columns = table->num_cols;
            std::vector<QByteArray> buffers(columns, QByteArray(qsizetype(mdb->bind_size), '\0'));
            std::vector<int> lengths(columns, 0);
            for (unsigned int c = 0; c < columns; ++c)
                mdb_bind_column(table, int(c + 1), buffers[c].data(), &lengths[c]);
            mdb_rewind_table(table);
            while (mdb_fetch_row(table)) {
                QVariantList row;
                for (unsigned int c = 0; c < columns; ++c) {
                    auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c));
                    const int length = qMin(lengths[c], int(buffers[c].size()));
                    row.append(valueOf(mdb.get(), column, buffers[c].constData(), length));
                }
                rows->append(row);
            }
            mdb_free_tabledef(table);
            return true;
        };
        tables->push_back(
            std::make_unique<MemoryTable>(name, TypePath::Access, fields, loader, readOnly));
    }
    return true;
}
