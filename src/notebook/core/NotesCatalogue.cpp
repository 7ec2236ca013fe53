#include "NotesCatalogue.h"

#include "ContentIndex.h"
#include "DocumentText.h"
#include "JetSql.h"
#include "ListDocument.h"
#include "SharedRoutines.h"
#include "Store.h"

#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace
{

// The columns writeRow() writes, in the order of DocumentRecord.
const QString Columns = QStringLiteral(
    "DocumentName, \"date\", Category1, \"Type\", mDate, SerialNo, ext, Author, Version, "
    "Progress, Flags, path, bgcolor, DocType, Picfilelink, keyword, DueDate, Content, "
    "\"Current\", usertemplate");

QVariant text(const QString &value)
{
    return value.isNull() ? QVariant() : QVariant(value);
}

QVariant date(const QDateTime &value)
{
    return value.isValid() ? QVariant(JetSql::canonicalDate(value)) : QVariant();
}

QVariant number(const std::optional<qint64> &value)
{
    return value ? QVariant(*value) : QVariant();
}

QString textOf(const QSqlQuery &query, int column)
{
    const QVariant value = query.value(column);
    return value.isNull() ? QString() : value.toString();
}

std::optional<qint64> numberOf(const QSqlQuery &query, int column)
{
    const QVariant value = query.value(column);
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
}

QDateTime dateOf(const QSqlQuery &query, int column)
{
    const QVariant value = query.value(column);
    return value.isNull() ? QDateTime() : JetSql::parseDate(value.toString());
}

// Runs statements as one unit inside whatever transaction the caller holds.
class Savepoint
{
public:
    explicit Savepoint(const Store &store, const char *name = "catalogue_row")
        : m_store(store), m_name(QLatin1String(name))
    {
        m_open = QSqlQuery(m_store.database()).exec(QStringLiteral("savepoint ") + m_name);
    }
    ~Savepoint()
    {
        if (m_open)
            finish(false);
    }
    bool isOpen() const { return m_open; }
    bool finish(bool keep)
    {
        QSqlQuery query(m_store.database());
        if (!keep)
            query.exec(QStringLiteral("rollback to ") + m_name);
        const bool released = query.exec(QStringLiteral("release ") + m_name);
        m_open = false;
        return keep && released;
    }

private:
    const Store &m_store;
    QString m_name;
    bool m_open = false;
};

} // namespace

NotesCatalogue::NotesCatalogue(const Store &store) : m_store(store)
{
    // Lists read every column but the body copy: an index holding them is read instead of the
    // table, whose rows are as long as their documents.
    QSqlQuery schema(m_store.database());
    schema.exec(QStringLiteral(
        "create index if not exists nv_notesdairy1_list on nv_notesdairy1 (\"date\", "
        "DocumentName, Category1, \"Type\", mDate, SerialNo, ext, Author, Version, Progress, "
        "Flags, path, bgcolor, DocType, Picfilelink, keyword, usertemplate)"));
    schema.exec(QStringLiteral(
        "create index if not exists nv_notesdairy1_mdate on nv_notesdairy1 (mDate)"));
    schema.exec(
        QStringLiteral("create index if not exists nv_notesdairy1_path on nv_notesdairy1 (path)"));
    // Searches read the list index and the rows they find all over the store: a page cache
    // of 32 MB keeps them from the disk on the next search.
    schema.exec(QStringLiteral("pragma cache_size = -32768"));
    m_index = std::make_unique<ContentIndex>(m_store);
    m_index->ensure();
}

NotesCatalogue::~NotesCatalogue() = default;

std::optional<DocumentRecord> NotesCatalogue::byPath(const QString &path) const
{
    return readOne(QStringLiteral("path = ?"), text(path));
}

std::optional<DocumentRecord> NotesCatalogue::byId(qint64 id) const
{
    return readOne(QStringLiteral("id = ?"), id);
}

std::optional<DocumentRecord> NotesCatalogue::byName(const QString &name) const
{
    return readOne(QStringLiteral("DocumentName = ?"), text(name));
}

std::optional<DocumentRecord> NotesCatalogue::readOne(const QString &condition,
                                                      const QVariant &value) const
{
    QSqlQuery query(m_store.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select id, %1 from nv_notesdairy1 where %2 order by id")
                      .arg(Columns, condition));
    query.addBindValue(value);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return recordOf(query);
}

bool NotesCatalogue::rowsAt(const QString &path, std::vector<DocumentRecord> &rows) const
{
    rows.clear();
    if (path.isEmpty())
        return true;
    QSqlQuery query(m_store.database());
    query.setForwardOnly(true);
    // The folder's prefix ends in a separator: "/d/Plans" never takes "/d/Plans 2".
    query.prepare(QStringLiteral("select id, %1 from nv_notesdairy1 where path = ? or "
                                 "substr(path, 1, length(?)) = ? order by id")
                      .arg(Columns));
    const QString prefix = path.endsWith(u'/') ? path : path + u'/';
    query.addBindValue(path);
    query.addBindValue(prefix);
    query.addBindValue(prefix);
    if (!query.exec())
        return false;
    while (query.next())
        rows.push_back(recordOf(query));
    return true;
}

DocumentRecord NotesCatalogue::recordOf(const QSqlQuery &query)
{
    DocumentRecord r;
    r.id = query.value(0).toLongLong();
    r.documentName = textOf(query, 1);
    r.date = dateOf(query, 2);
    r.category1 = textOf(query, 3);
    r.type = textOf(query, 4);
    r.mDate = dateOf(query, 5);
    r.serialNo = numberOf(query, 6);
    r.ext = textOf(query, 7);
    r.author = textOf(query, 8);
    r.version = textOf(query, 9);
    r.progress = textOf(query, 10);
    r.flags = textOf(query, 11);
    r.path = textOf(query, 12);
    r.bgcolor = numberOf(query, 13);
    r.docType = textOf(query, 14);
    r.picFileLink = textOf(query, 15);
    r.keyword = textOf(query, 16);
    r.dueDate = dateOf(query, 17);
    r.content = textOf(query, 18);
    r.current = query.value(19).toInt() != 0;
    r.userTemplate = textOf(query, 20);
    return r;
}

namespace
{

// path with the leading from replaced by to: from itself, or a path under the folder from.
QString moved(const QString &path, const QString &from, const QString &to)
{
    return to + path.mid(from.size());
}

} // namespace

int NotesCatalogue::movePaths(const QString &from, const QString &to)
{
    std::vector<DocumentRecord> rows;
    Savepoint unit(m_store, "move_paths");
    if (!unit.isOpen() || !rowsAt(from, rows))
        return -1;
    for (DocumentRecord &row : rows) {
        row.path = moved(row.path, from, to);
        if (!writeRecord(row, nullptr, false))
            return -1;
    }
    return unit.finish(true) ? int(rows.size()) : -1;
}

bool NotesCatalogue::renameDocument(const QString &from, const QString &to)
{
    std::optional<DocumentRecord> row = byPath(from);
    if (!row)
        return false;
    const DocumentRecord named = linkRecord(to);
    row->path = to;
    row->documentName = named.documentName;
    row->ext = named.ext;
    return writeRecord(*row, nullptr, false);
}

int NotesCatalogue::copyRows(const QString &from, const QString &to)
{
    std::vector<DocumentRecord> rows;
    Savepoint unit(m_store, "copy_rows");
    if (!unit.isOpen() || !rowsAt(from, rows))
        return -1;
    for (const DocumentRecord &source : rows) {
        const QString path = moved(source.path, from, to);
        DocumentRecord target;
        if (const std::optional<DocumentRecord> there = byPath(path))
            target = *there;
        target.path = path;
        target.documentName = source.documentName;
        target.ext = source.ext;
        target.category1 = source.category1;
        target.serialNo = source.serialNo;
        target.version = source.version;
        target.author = source.author;
        target.date = source.date;
        target.type = source.type;
        target.progress = source.progress;
        target.current = source.current;
        target.bgcolor = source.bgcolor;
        target.mDate = source.mDate;
        target.keyword = source.keyword;
        target.dueDate = source.dueDate;
        if (!writeRow(target))
            return -1;
    }
    return unit.finish(true) ? int(rows.size()) : -1;
}

int NotesCatalogue::removeRows(const QString &path)
{
    std::vector<DocumentRecord> rows;
    Savepoint unit(m_store, "remove_rows");
    if (!unit.isOpen() || !rowsAt(path, rows))
        return -1;
    for (const DocumentRecord &row : rows) {
        if (!removeRow(row.id))
            return -1;
    }
    return unit.finish(true) ? int(rows.size()) : -1;
}

bool NotesCatalogue::removeAll()
{
    Savepoint unit(m_store, "remove_all");
    if (!unit.isOpen() ||
        !QSqlQuery(m_store.database()).exec(QStringLiteral("delete from nv_notesdairy1")))
        return false;
    if (m_index->isAvailable() && !m_index->clear())
        return false;
    return unit.finish(true);
}

bool NotesCatalogue::writeColumns(DocumentRecord &r) const
{
    QSqlQuery query(m_store.database());
    if (r.id == 0) {
        query.prepare(QStringLiteral("insert into nv_notesdairy1 (%1) values (?, ?, ?, ?, ?, ?, ?, "
                                     "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                          .arg(Columns));
    } else {
        QString assignments = Columns;
        assignments.replace(QLatin1String(", "), QLatin1String(" = ?, "));
        query.prepare(
            QStringLiteral("update nv_notesdairy1 set %1 = ? where id = ?").arg(assignments));
    }
    for (const QVariant &value : {text(r.documentName),
                                  date(r.date),
                                  text(r.category1),
                                  text(r.type),
                                  date(r.mDate),
                                  number(r.serialNo),
                                  text(r.ext),
                                  text(r.author),
                                  text(r.version),
                                  text(r.progress),
                                  text(r.flags),
                                  text(r.path),
                                  number(r.bgcolor),
                                  text(r.docType),
                                  text(r.picFileLink),
                                  text(r.keyword),
                                  date(r.dueDate),
                                  text(r.content),
                                  QVariant(r.current ? 1 : 0),
                                  text(r.userTemplate)})
        query.addBindValue(value);
    if (r.id != 0)
        query.addBindValue(r.id);
    if (!query.exec() || query.numRowsAffected() != 1)
        return false;
    if (r.id == 0)
        r.id = query.lastInsertId().toLongLong();
    return true;
}

bool NotesCatalogue::writeRow(DocumentRecord &record, const QString *plainText)
{
    return writeRecord(record, plainText, true);
}

bool NotesCatalogue::writeRecord(DocumentRecord &record, const QString *plainText, bool index)
{
    std::optional<DocumentRecord> before;
    if (record.id != 0) {
        before = byId(record.id);
        if (!before)
            return false; // removed meanwhile, perhaps by another program
    }
    const bool textChanged = !before || (index && before->path != record.path) ||
                             before->content != record.content || before->mDate != record.mDate;
    Savepoint unit(m_store);
    if (!unit.isOpen())
        return false;
    DocumentRecord written = record;
    if (!writeColumns(written))
        return false;
    if (textChanged && m_index->isAvailable()) {
        const QString text =
            plainText ? *plainText : DocumentText::forIndex(written.path, written.content);
        if (!m_index->put(written.id, text, written.mDate, written.content))
            return false;
    }
    if (!unit.finish(true))
        return false;
    record.id = written.id;
    return true;
}

bool NotesCatalogue::removeRow(qint64 id)
{
    Savepoint unit(m_store);
    QSqlQuery erase(m_store.database());
    erase.prepare(QStringLiteral("delete from nv_notesdairy1 where id = ?"));
    erase.addBindValue(id);
    if (!unit.isOpen() || !erase.exec())
        return false;
    if (m_index->isAvailable() && !m_index->remove(id))
        return false;
    return unit.finish(true);
}

bool NotesCatalogue::reindex(qint64 id)
{
    const std::optional<DocumentRecord> record = byId(id);
    return record && reindex(*record);
}

bool NotesCatalogue::reindex(const DocumentRecord &record)
{
    return m_index->isAvailable() &&
           m_index->put(record.id, DocumentText::forIndex(record.path, record.content),
                        record.mDate, record.content);
}

bool NotesCatalogue::refreshIndex(size_t limit)
{
    if (!m_index->isAvailable())
        return true;
    const ContentIndex::Staleness stale = m_index->check();
    if (stale.ids.size() > limit)
        return false;
    const QDate today = QDate::currentDate();
    if (stale.isCurrent(today))
        return true;
    Savepoint unit(m_store);
    for (const qint64 id : stale.ids)
        reindex(id);
    m_index->markChecked(stale.maxId, today);
    return unit.finish(true);
}

DocumentRecord NotesCatalogue::linkRecord(const QString &path)
{
    DocumentRecord record;
    const QString name = FileNameOfPath(path);
    const qsizetype dot = name.indexOf('.');
    record.documentName = dot < 0 ? name : name.left(dot);
    const QString last = path.right(4);
    const qsizetype extDot = last.indexOf('.');
    record.ext = extDot < 0 ? QStringLiteral("rtf") : last.mid(extDot + 1);
    record.docType = QStringLiteral("Notes");
    record.type = QStringLiteral("Business");
    record.category1 = QStringLiteral("Undefined");
    record.path = path;
    record.bgcolor = LinkColour;
    record.version = QStringLiteral("1");
    record.serialNo = 1;
    return record;
}

bool NotesCatalogue::AddDocumentLink(const QString &path)
{
    if (path.isEmpty() || byPath(path))
        return false;
    DocumentRecord record = linkRecord(path);
    return writeRow(record);
}

NotesCatalogue::Saved NotesCatalogue::saveBody(const QString &path, const QByteArray &fileBytes,
                                               const QByteArray &rtf, qint64 bgcolor, QDate today,
                                               QString *error)
{
    const auto change = [&](DocumentRecord &record) {
        record.mDate = today.startOfDay();
        record.bgcolor = bgcolor;
        record.content = contentOf(rtf);
    };
    return saveFileAndRow(path, fileBytes, change, DocumentText::plainOfRtf(rtf), error);
}

NotesCatalogue::Saved NotesCatalogue::saveList(const QString &path, const ListDocument &list,
                                               QDate today, QString *error)
{
    const auto change = [&](DocumentRecord &record) { record.mDate = today.startOfDay(); };
    return saveFileAndRow(path, list.write(), change, list.plainText(), error);
}

NotesCatalogue::Saved
NotesCatalogue::saveFileAndRow(const QString &path, const QByteArray &bytes,
                               const std::function<void(DocumentRecord &)> &change,
                               const QString &plain, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        return Saved::Nothing; // the temporary file goes with its object
    }
    std::optional<DocumentRecord> record = byPath(path);
    if (!record) {
        if (!file.commit()) {
            if (error)
                *error = file.errorString();
            return Saved::Nothing;
        }
        return Saved::FileOnly;
    }
    change(*record);
    Savepoint unit(m_store, "document_save");
    const bool rowWritten = unit.isOpen() && writeRow(*record, &plain);
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return Saved::Nothing; // the savepoint rolls the row back
    }
    if (rowWritten && unit.finish(true))
        return Saved::FileAndRow;
    if (error)
        *error = QStringLiteral("The catalogue row cannot be written: %1")
                     .arg(m_store.database().lastError().text());
    return Saved::FileOnly;
}

QString NotesCatalogue::joinKeywords(const QStringList &cells)
{
    QStringList kept;
    for (const QString &cell : cells) {
        const QString keyword = cell.trimmed();
        if (!keyword.isEmpty() && !kept.contains(keyword, Qt::CaseInsensitive))
            kept << keyword;
    }
    return kept.join(u',');
}

bool NotesCatalogue::saveKeywords(const QString &path, const QStringList &cells)
{
    std::optional<DocumentRecord> record = byPath(path);
    if (!record)
        return false;
    record->keyword = joinKeywords(cells);
    return writeRow(*record);
}

bool NotesCatalogue::addCreated(const QString &path, const QString &docType, QDate today)
{
    if (path.isEmpty() || byPath(path))
        return false;
    DocumentRecord record = linkRecord(path);
    record.docType = docType;
    record.date = today.startOfDay();
    record.bgcolor = DefaultColour;
    if (docType == QLatin1String("List")) {
        // The list save sets the name with its extension and nothing of a note's defaults.
        record.documentName = FileNameOfPath(path);
        record.type.clear();
        record.ext.clear();
        record.version.clear();
        record.serialNo.reset();
        record.bgcolor.reset();
    }
    return writeRow(record);
}

bool NotesCatalogue::markQuickNote(const QString &path)
{
    std::optional<DocumentRecord> record = byPath(path);
    if (!record)
        return false;
    record->docType = QStringLiteral("Quick Notes");
    record->bgcolor = QuickNoteColour;
    return writeRow(*record);
}

qint64 NotesCatalogue::viewColour(const QString &path) const
{
    const std::optional<DocumentRecord> record = byPath(path);
    return record && record->bgcolor ? *record->bgcolor : DefaultColour;
}

QStringList NotesCatalogue::keywordsOf(const QString &path) const
{
    const std::optional<DocumentRecord> record = byPath(path);
    return record ? record->keyword.split(',', Qt::SkipEmptyParts) : QStringList();
}

QString NotesCatalogue::contentOf(const QByteArray &rtf)
{
    QString content = QString::fromLatin1(rtf);
    content.replace('\'', '`');
    return content;
}
