#include "DbfTable.h"

#include "CompanionFile.h"

#include <QDate>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace
{
constexpr char deletedFlag = DbfHeader::deletedFlag;
constexpr char liveFlag = DbfHeader::liveFlag;
constexpr char endOfFile = DbfHeader::endOfFile;
} // namespace

DbfTable::DbfTable() : m_codec(&m_header, nullptr, QString()) {}

DbfTable::~DbfTable()
{
    rollbackWrite();
}

std::unique_ptr<DbfTable> DbfTable::open(const QString &path, const SourceOptions &options,
                                         QString *error)
{
    std::unique_ptr<DbfTable> table(new DbfTable);
    table->m_path = QFileInfo(path).absoluteFilePath();
    table->m_name = QFileInfo(path).fileName();
    table->m_backupSuffix = options.backupSuffix;
    if (!table->m_file.open(table->m_path, false, error))
        return nullptr;
    const bool fileWritable = QFileInfo(path).isWritable();
    if (!table->parse(options.codePage, error))
        return nullptr;
    if (table->m_header.hasMemoField())
        table->openMemo(path);
    if (!fileWritable ||
        (!table->m_memoPath.isEmpty() && !QFileInfo(table->m_memoPath).isWritable()))
        table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    if (table->m_header.dBase2)
        table->m_readOnlyReason =
            QStringLiteral("%1 is a dBase II table, which this program can read but not change")
                .arg(table->m_name);
    table->refuseWithIndex(path);
    table->m_codec = DbfFieldCodec(&table->m_header, table->m_memo.get(), table->m_name);
    table->listMemoStarts();
    return table;
}

// The program that owns a production index keeps it right on every write; writing here would
// leave it stale, so such a table is only read.
void DbfTable::refuseWithIndex(const QString &path)
{
    if (!m_header.hasProductionIndex)
        return;
    for (const char *extension : {"mdx", "cdx"}) {
        const QString index = CompanionFile::find(path, QLatin1String(extension));
        if (!index.isEmpty()) {
            m_readOnlyReason = QStringLiteral("%1 cannot be changed here: its index %2 would not "
                                              "be kept up to date")
                                   .arg(m_name, QFileInfo(index).fileName());
            return;
        }
    }
}

// A memo without an end mark ends where the next one starts: the memo file learns where the
// table's memos start when it first needs to.
void DbfTable::listMemoStarts()
{
    if (!m_memo)
        return;
    m_memo->setMemoStarts([this] {
        std::vector<quint32> starts;
        QList<int> memoColumns;
        for (int c = 0; c < m_header.columns.size(); ++c) {
            if (DbfHeader::isMemo(m_header.columns.at(c)))
                memoColumns.append(c);
        }
        for (qint64 slot = 0; slot < m_slotCount; ++slot) {
            for (int c : std::as_const(memoColumns)) {
                if (const quint32 block = m_codec.memoBlock(record(slot), c))
                    starts.push_back(block);
            }
        }
        return starts;
    });
}

// Finds and opens the memo file beside the table at path; without one the table stays
// readable (memo fields read as null) but cannot be changed.
void DbfTable::openMemo(const QString &path)
{
    QString memoPath = CompanionFile::find(path, QStringLiteral("fpt"));
    if (memoPath.isEmpty() ||
        DbfHeader::memoKind(m_header.version, QString()) != DbfMemo::Kind::FoxPro) {
        const QString dbt = CompanionFile::find(path, QStringLiteral("dbt"));
        if (!dbt.isEmpty())
            memoPath = dbt;
    }
    if (memoPath.isEmpty()) {
        m_readOnlyReason =
            QStringLiteral("%1 cannot be changed: its memo file is missing").arg(m_name);
        return;
    }
    m_memoPath = memoPath;
    m_memo = std::make_unique<DbfMemo>(DbfHeader::memoKind(m_header.version, memoPath));
    QString memoError;
    if (!m_memo->open(memoPath, false, &memoError)) {
        m_memo.reset();
        m_readOnlyReason = QStringLiteral("%1 cannot be changed: %2").arg(m_name, memoError);
    }
}

std::unique_ptr<DbfTable> DbfTable::fromBytes(const QByteArray &bytes, const QByteArray &memo,
                                              int codePage, QString *error)
{
    std::unique_ptr<DbfTable> table(new DbfTable);
    table->m_name = QStringLiteral("table.dbf");
    table->m_file.openBytes(bytes);
    if (!table->parse(codePage, error))
        return nullptr;
    if (!memo.isEmpty()) {
        table->m_memo =
            std::make_unique<DbfMemo>(DbfHeader::memoKind(table->m_header.version, QString()));
        table->m_memo->openBytes(memo);
    }
    table->m_readOnlyReason = QStringLiteral("%1 is read-only").arg(table->m_name);
    table->m_codec = DbfFieldCodec(&table->m_header, table->m_memo.get(), table->m_name);
    table->listMemoStarts();
    return table;
}

bool DbfTable::parse(int codePage, QString *error)
{
    if (!m_header.parse(m_file.data(), m_file.size(), codePage, m_name, error))
        return false;
    m_slotCount = m_header.slotCount;
    return true;
}

bool DbfTable::isLive(qint64 slot) const
{
    return hasSlot(slot) && record(slot)[0] != deletedFlag;
}

QVariant DbfTable::value(qint64 slot, int column) const
{
    if (!hasCell(slot, column))
        return {};
    return m_codec.decode(record(slot), column);
}

bool DbfTable::textUtf8(qint64 slot, int column, std::string *utf8, bool *isNull) const
{
    if (!hasCell(slot, column))
        return false;
    return m_codec.decodeUtf8(record(slot), column, utf8, isNull);
}

bool DbfTable::startChanges(QString *error)
{
    if (!m_readOnlyReason.isEmpty()) {
        if (error)
            *error = m_readOnlyReason;
        return false;
    }
    if (m_tableChange && m_tableChange->isActive())
        return true;
    const auto backup = [this](const QString &path) {
        return m_backupSuffix.isEmpty() ? QString() : path + m_backupSuffix;
    };
    if (!m_tableChange)
        m_tableChange = std::make_unique<FileTransaction>(m_path, backup(m_path));
    if (m_memo && !m_memoChange)
        m_memoChange = std::make_unique<FileTransaction>(m_memoPath, backup(m_memoPath));
    if (!m_tableChange->begin(error) || (m_memoChange && !m_memoChange->begin(error))) {
        rollbackWrite();
        return false;
    }
    if (!m_file.open(m_tableChange->workingPath(), true, error) ||
        (m_memo && !m_memo->open(m_memoChange->workingPath(), true, error))) {
        rollbackWrite();
        return false;
    }
    return true;
}

bool DbfTable::beginWrite(QString *)
{
    // The working copy is made by the first change, so a transaction that changes nothing
    // costs nothing.
    return true;
}

bool DbfTable::insertRow(const QMap<int, QVariant> &values, qint64 *slot, QString *error)
{
    if (!startChanges(error))
        return false;
    QByteArray bytes(m_header.recordLength, ' ');
    if (m_header.nullFlagsOffset >= 0)
        memset(bytes.data() + m_header.nullFlagsOffset, 0, size_t(m_header.nullFlagsLength));
    bytes[0] = liveFlag;
    if (!checkColumns(values, error) || !encodeAll(values, true, &bytes, error))
        return false;
    const qint64 offset = m_header.headerSize + m_slotCount * qint64(m_header.recordLength);
    if (!m_file.write(offset, bytes + QByteArray(1, endOfFile), error))
        return false;
    *slot = m_slotCount++;
    return true;
}

bool DbfTable::updateRow(qint64 slot, const QMap<int, QVariant> &changes, QString *error)
{
    if (!checkSlot(slot, error) || !checkColumns(changes, error))
        return false;
    if (!startChanges(error))
        return false;
    QByteArray bytes(reinterpret_cast<const char *>(record(slot)), m_header.recordLength);
    if (!encodeAll(changes, false, &bytes, error))
        return false;
    return m_file.write(m_header.headerSize + slot * qint64(m_header.recordLength), bytes, error);
}

// Encodes values into a record (every column when allColumns, the others empty). When one is
// refused, the memos written for the others are taken back out of the memo file.
bool DbfTable::encodeAll(const QMap<int, QVariant> &values, bool allColumns, QByteArray *bytes,
                         QString *error)
{
    const DbfMemo::Mark mark = m_memo ? m_memo->mark() : DbfMemo::Mark{};
    bool ok = true;
    if (allColumns) {
        for (int i = 0; ok && i < m_header.columns.size(); ++i)
            ok = m_codec.encode(i, values.value(i), bytes, error);
    } else {
        for (auto it = values.cbegin(); ok && it != values.cend(); ++it)
            ok = m_codec.encode(it.key(), it.value(), bytes, error);
    }
    if (!ok && m_memo)
        m_memo->restore(mark, nullptr);
    return ok;
}

bool DbfTable::deleteRow(qint64 slot, QString *error)
{
    if (!checkSlot(slot, error))
        return false;
    if (!startChanges(error))
        return false;
    return m_file.write(m_header.headerSize + slot * qint64(m_header.recordLength),
                        QByteArray(1, deletedFlag), error);
}

bool DbfTable::commitWrite(QString *error)
{
    if (!m_tableChange || !m_tableChange->isActive())
        return true;
    const QDate today = QDate::currentDate();
    QByteArray header(7, '\0');
    header[0] = char(today.year() - 1900);
    header[1] = char(today.month());
    header[2] = char(today.day());
    qToLittleEndian<quint32>(quint32(m_slotCount), header.data() + 3);
    const qint64 dataEnd = m_header.headerSize + m_slotCount * qint64(m_header.recordLength);
    bool ok = m_file.write(1, header, error);
    if (ok && (m_file.size() <= dataEnd || m_file.data()[dataEnd] != endOfFile))
        ok = m_file.write(dataEnd, QByteArray(1, endOfFile), error);
    ok = ok && m_file.sync(error) && (!m_memo || m_memo->file().sync(error));
    // The memo goes first: until the table is replaced, the old table only sees old blocks.
    ok = ok && (!m_memoChange || m_memoChange->commit(error)) && m_tableChange->commit(error);
    if (!ok) {
        rollbackWrite();
        return false;
    }
    return reopen(error);
}

void DbfTable::rollbackWrite()
{
    const bool active =
        (m_tableChange && m_tableChange->isActive()) || (m_memoChange && m_memoChange->isActive());
    if (!active)
        return;
    m_file.close();
    if (m_memo)
        m_memo->close();
    if (m_tableChange)
        m_tableChange->rollback();
    if (m_memoChange)
        m_memoChange->rollback();
    reopen(nullptr);
}

bool DbfTable::reopen(QString *error)
{
    QString message;
    bool ok = m_file.open(m_path, false, &message) &&
              (!m_memo || m_memo->open(m_memoPath, false, &message));
    if (ok) {
        const quint32 recordCount = qFromLittleEndian<quint32>(m_file.data() + 4);
        m_slotCount = qMin<qint64>(recordCount,
                                   (m_file.size() - m_header.headerSize) / m_header.recordLength);
    } else {
        m_slotCount = 0;
        m_readOnlyReason = message;
        if (error)
            *error = message;
    }
    return ok;
}

bool DbfTable::create(const QString &path, const QList<FieldSpec> &fields, unsigned char version,
                      int codePage, QString *error)
{
    // A table SQL cannot show again is not written.
    const QByteArray header =
        fields.size() > MaxColumns ? QByteArray() : DbfHeader::build(fields, version, codePage);
    if (header.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: a table needs between 1 and 2,000 fields whose records "
                                    "fit in 65,535 bytes")
                         .arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(header + QByteArray(1, endOfFile)) < 0) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    const bool hasMemo = std::any_of(fields.cbegin(), fields.cend(),
                                     [](const FieldSpec &spec) { return spec.type == 'M'; });
    if (hasMemo) {
        const DbfMemo::Kind kind = DbfHeader::memoKind(version, QString());
        const QFileInfo info(path);
        const QString memoPath =
            info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
            (kind == DbfMemo::Kind::FoxPro ? QLatin1String(".fpt") : QLatin1String(".dbt"));
        QFile memo(memoPath);
        if (!memo.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            memo.write(DbfMemo::emptyFile(kind)) < 0) {
            if (error)
                *error = QStringLiteral("Cannot write %1: %2").arg(memoPath, memo.errorString());
            return false;
        }
    }
    return true;
}
