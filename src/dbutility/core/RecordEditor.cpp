#include "RecordEditor.h"

#include "OpenedSource.h"
#include "SourceModule.h"

#include <QSqlError>
#include <QSqlQuery>

namespace
{

RecordEditor::Result failed(const QString &message)
{
    RecordEditor::Result result;
    result.ok = false;
    result.message = message;
    return result;
}

// The engine's own words where it gave some (the source layer's refusals are there).
QString errorText(const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

QString quotedList(const QList<SourceField> &fields, const QList<int> &columns,
                   const QString &suffix)
{
    QStringList items;
    for (const int column : columns)
        items.append(SourceModule::quoted(fields.at(column).name) + suffix);
    return items.join(QLatin1Char(','));
}

} // namespace

RecordEditor::RecordEditor(OpenedSource &source, const QString &table, bool dayFirst)
    : m_source(source), m_table(table), m_fields(source.sourceFields(table))
{
    const int codePage = source.codePage(table);
    for (const SourceField &field : std::as_const(m_fields))
        m_validators.append(FieldValidator(field, source.kind(), codePage, dayFirst));
}

QString RecordEditor::readOnlyReason() const
{
    return m_source.readOnlyReason(m_table);
}

int RecordEditor::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString RecordEditor::check(const QString &field, const QString &text, QVariant *value) const
{
    const int column = fieldIndex(field);
    if (column < 0)
        return QStringLiteral("%1 has no field %2").arg(m_table, field);
    return m_validators.at(column).check(text, value);
}

RecordEditor::Result RecordEditor::apply(const QList<Change> &changes)
{
    const QString reason = readOnlyReason();
    if (!reason.isEmpty())
        return failed(reason);
    struct Row {
        qint64 recordNumber;
        QList<int> columns;
        QVariantList values;
    };
    QList<Row> rows;
    for (int i = 0; i < changes.size(); ++i) {
        Row row{changes.at(i).recordNumber, {}, {}};
        for (auto text = changes.at(i).texts.cbegin(); text != changes.at(i).texts.cend(); ++text) {
            QVariant value;
            const QString refusal = check(text.key(), text.value(), &value);
            if (!refusal.isEmpty()) {
                Result result = failed(refusal);
                result.change = i;
                result.field = text.key();
                return result;
            }
            row.columns.append(fieldIndex(text.key()));
            row.values.append(value);
        }
        if (row.recordNumber >= 0 && row.columns.isEmpty())
            continue;
        rows.append(row);
    }
    if (rows.isEmpty())
        return Result();
    const QString table = SourceModule::quoted(m_table);
    return write([&](QString *error, QList<qint64> *added) {
        for (const Row &row : std::as_const(rows)) {
            QSqlQuery statement(m_source.connection());
            const bool insert = row.recordNumber < 0;
            if (insert && row.columns.isEmpty())
                statement.prepare(QStringLiteral("insert into %1 default values").arg(table));
            else if (insert)
                statement.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                      .arg(table, quotedList(m_fields, row.columns, QString()),
                                           QStringList(row.columns.size(), QStringLiteral("?"))
                                               .join(QLatin1Char(','))));
            else
                statement.prepare(
                    QStringLiteral("update %1 set %2 where rowid = ?")
                        .arg(table, quotedList(m_fields, row.columns, QStringLiteral(" = ?"))));
            for (const QVariant &value : row.values)
                statement.addBindValue(value);
            if (!insert)
                statement.addBindValue(row.recordNumber);
            if (!statement.exec()) {
                *error = errorText(statement);
                return false;
            }
            if (insert)
                added->append(statement.lastInsertId().toLongLong());
        }
        return true;
    });
}

RecordEditor::Result RecordEditor::addRecord()
{
    Change change;
    if (m_source.sqlPath() == BrowseSql::Path::Access) {
        for (const SourceField &field : std::as_const(m_fields)) {
            if (field.typeCode == int(JetType::Text))
                change.texts.insert(field.name, QStringLiteral(" "));
        }
    }
    return apply({change});
}

RecordEditor::Result RecordEditor::deleteRecord(qint64 recordNumber)
{
    const QString reason = readOnlyReason();
    if (!reason.isEmpty())
        return failed(reason);
    return write([&](QString *error, QList<qint64> *) {
        QSqlQuery statement(m_source.connection());
        statement.prepare(
            QStringLiteral("delete from %1 where rowid = ?").arg(SourceModule::quoted(m_table)));
        statement.addBindValue(recordNumber);
        if (statement.exec())
            return true;
        *error = errorText(statement);
        return false;
    });
}

RecordEditor::Result
RecordEditor::write(const std::function<bool(QString *error, QList<qint64> *added)> &statements)
{
    Result result;
    QString error;
    if (!m_source.keepBackup(&error))
        return failed(error);
    QSqlDatabase db = m_source.connection();
    QSqlQuery transaction(db);
    if (!transaction.exec(QStringLiteral("BEGIN")))
        return failed(errorText(transaction));
    // The file changes at the commit, all at once, or not at all.
    if (!statements(&error, &result.added) || !transaction.exec(QStringLiteral("COMMIT"))) {
        if (error.isEmpty())
            error = errorText(transaction);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return failed(error);
    }
    return result;
}
