#include "DbBrowser.h"

#include "JetSql.h"
#include "RecordEditor.h"
#include "RecordPager.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <sqlite3.h>

DbBrowser::DbBrowser() : m_store(Store::Kind::Data), m_favourites(m_store) {}

DbBrowser::~DbBrowser() = default;

DbBrowser::Added DbBrowser::AddFavourite(const QString &path, qint64 backColor, qint64 backColorA,
                                         qint64 forColor)
{
    return add(path, backColor, backColorA, forColor);
}

DbBrowser::Added DbBrowser::AddFromFileManager(const QString &path, qint64 backColor,
                                               qint64 backColorA, qint64 forColor)
{
    return add(path, backColor, backColorA, forColor);
}

DbBrowser::Added DbBrowser::add(const QString &path, qint64 backColor, qint64 backColorA,
                                qint64 forColor)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    return remember(m_favourites, full, DbSourceType::detect(full), backColor, backColorA,
                    forColor);
}

DbBrowser::Added DbBrowser::remember(FavouritesCatalogue &favourites, const QString &path,
                                     DbKind kind, qint64 backColor, qint64 backColorA,
                                     qint64 forColor)
{
    Added added;
    const QFileInfo info(path);
    QString error;
    std::unique_ptr<OpenedSource> source =
        info.isFile() ? OpenedSource::open(path, kind, &error) : nullptr;
    if (!source) {
        added.message =
            info.isFile() ? error : QStringLiteral("%1 does not exist").arg(info.fileName());
        return added;
    }
    // Choosing a file again forgets what was remembered of it.
    favourites.RemoveFavourite(path);
    added.favourite = {info.fileName(), DbSourceType::text(kind), path, backColor, backColorA,
                       forColor};
    favourites.append(added.favourite);
    if (source->hasTableList()) {
        QList<FavouritesCatalogue::TableFields> tables;
        for (const QString &table : source->tableNames()) {
            QStringList names;
            for (const FieldInfo &field : source->fields(table))
                names.append(field.name);
            tables.append({table, names});
        }
        favourites.RememberAllTables(path, tables);
    } else {
        const QString table = source->tableNames().value(0, info.fileName());
        QStringList names;
        for (const FieldInfo &field : source->fields(table))
            names.append(field.name);
        favourites.RememberSingleTable(path, table, names);
    }
    added.ok = true;
    return added;
}

bool DbBrowser::OpenSource(const QString &path, const QString &typeText, QString *error)
{
    closeSource();
    const DbKind kind = DbSourceType::kind(typeText);
    m_source = OpenedSource::open(path, kind, error);
    if (!m_source)
        return false;
    m_path = path;
    m_typeText = typeText.isEmpty() || kind == DbKind::None ? DbSourceType::text(m_source->kind())
                                                            : typeText;
    return true;
}

void DbBrowser::closeSource()
{
    m_editor.reset();
    m_source.reset();
    m_path.clear();
    m_typeText.clear();
    m_table.clear();
    m_fields.clear();
}

bool DbBrowser::isAccessPath() const
{
    return m_source && m_source->sqlPath() == BrowseSql::Path::Access;
}

QStringList DbBrowser::tables() const
{
    return m_source ? m_source->tableNames() : QStringList();
}

QList<FieldInfo> DbBrowser::ListFields(const QString &table)
{
    m_editor.reset();
    m_table = table;
    m_fields = m_source ? m_source->fields(table) : QList<FieldInfo>();
    return m_fields;
}

bool DbBrowser::hasField(const QString &field) const
{
    for (const FieldInfo &info : m_fields) {
        if (info.name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString DbBrowser::fieldTypeName(const QString &field) const
{
    for (const FieldInfo &info : m_fields) {
        if (info.name.compare(field, Qt::CaseInsensitive) == 0)
            return info.typeName;
    }
    return QString();
}

QList<FavouritesCatalogue::FieldMark> DbBrowser::fieldMarks() const
{
    return m_path.isEmpty() ? QList<FavouritesCatalogue::FieldMark>()
                            : m_favourites.fieldMarks(m_path, m_table);
}

QStringList DbBrowser::sortFields() const
{
    return m_favourites.markedFields(m_path, m_table, true);
}

QStringList DbBrowser::filterFields() const
{
    return m_favourites.markedFields(m_path, m_table, false);
}

QString DbBrowser::VisibleFieldList() const
{
    QList<BrowseSql::FieldView> views;
    for (const FavouritesCatalogue::FieldMark &mark : fieldMarks()) {
        // A field remembered of an older version of the table is not asked for.
        if (hasField(mark.fieldName))
            views.append({mark.fieldName, mark.visible});
    }
    return BrowseSql::VisibleFieldList(views);
}

RecordQuery DbBrowser::recordQuery(const QString &where, const QString &orderField, bool grouped,
                                   bool descending) const
{
    RecordQuery query;
    query.path = m_source ? m_source->sqlPath() : BrowseSql::Path::Driver;
    query.table = m_table;
    query.list = VisibleFieldList();
    query.where = where;
    query.orderField = orderField;
    query.grouped = grouped && !orderField.isEmpty();
    query.descending = descending;
    return query;
}

std::shared_ptr<RecordPager> DbBrowser::makePager(const RecordQuery &query, QString *error) const
{
    if (!m_source) {
        if (error)
            *error = QStringLiteral("No database is open");
        return nullptr;
    }
    auto pager = std::make_shared<RecordPager>(m_source->handle(), query);
    QSet<QString> dates;
    for (const FieldInfo &field : m_fields) {
        if (field.valueClass() == ValueClass::Date)
            dates.insert(field.name.toLower());
    }
    pager->setDateColumns(dates);
    if (!pager->prepare(error))
        return nullptr;
    return pager;
}

QStringList DbBrowser::distinctValues(const QString &field) const
{
    QStringList values;
    if (!m_source)
        return values;
    const QByteArray sql =
        JetSql::translate(BrowseSql::distinctValues(m_source->sqlPath(), m_table, field)).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_source->handle(), sql.constData(), int(sql.size()), &statement,
                           nullptr) == SQLITE_OK) {
        const bool date = FieldTypeNames::valueClass(fieldTypeName(field)) == ValueClass::Date;
        while (sqlite3_step(statement) == SQLITE_ROW)
            values.append(RecordPager::displayText(statement, 0, date));
    }
    sqlite3_finalize(statement);
    return values;
}

QString DbBrowser::filterClause(const QString &field, const QString &value) const
{
    ValueClass valueClass = FieldTypeNames::valueClass(fieldTypeName(field));
    // A SQLite file keeps dates as its writer wrote them: compared as the text they show.
    if (valueClass == ValueClass::Date && m_source && m_source->kind() == DbKind::SQLite)
        valueClass = ValueClass::Text;
    return BrowseSql::filterClause(valueClass, field, value);
}

RecordEditor *DbBrowser::editor(bool dayFirst)
{
    if (!m_source || m_table.isEmpty())
        return nullptr;
    if (!m_editor)
        m_editor = std::make_unique<RecordEditor>(*m_source, m_table, dayFirst);
    return m_editor.get();
}

bool DbBrowser::firstReport(const QString &message)
{
    if (message.isEmpty() || m_reported.contains(message))
        return false;
    m_reported.insert(message);
    return true;
}
