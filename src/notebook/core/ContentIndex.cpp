#include "ContentIndex.h"

#include "JetSql.h"
#include "SqlText.h"
#include "Store.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QtEndian>

namespace
{

const QString IndexTable = QStringLiteral("nv_notesdairy1_text");
const QString CheckTable = QStringLiteral("nv_notesdairy1_textcheck");

QSqlQuery prepared(const Store &store, const QString &sql)
{
    QSqlQuery query(store.database());
    query.setForwardOnly(true);
    query.prepare(sql);
    return query;
}

QVariant dateValue(const QDateTime &value)
{
    return value.isValid() ? QVariant(JetSql::canonicalDate(value)) : QVariant();
}

// Rows of the catalogue with what the index noted of them; `where` narrows by ? parameters.
void collect(const Store &store, const QString &where, const QVariantList &values,
             std::vector<qint64> &stale)
{
    QSqlQuery rows =
        prepared(store, QStringLiteral("select n.id, n.mDate, t.rowid, t.mdate, t.signature from "
                                       "nv_notesdairy1 n left join %1 t on t.rowid = n.id where %2")
                            .arg(IndexTable, where));
    for (const QVariant &value : values)
        rows.addBindValue(value);
    if (!rows.exec())
        return;
    QSqlQuery content =
        prepared(store, QStringLiteral("select Content from nv_notesdairy1 where id = ?"));
    while (rows.next()) {
        const qint64 id = rows.value(0).toLongLong();
        const bool indexed = !rows.value(2).isNull();
        const bool sameDate = rows.value(1).toString() == rows.value(3).toString() &&
                              rows.value(1).isNull() == rows.value(3).isNull();
        if (!indexed || !sameDate) {
            stale.push_back(id);
            continue;
        }
        content.addBindValue(id);
        if (content.exec() && content.next() &&
            ContentIndex::signature(content.value(0).toString()) != rows.value(4).toLongLong())
            stale.push_back(id);
        content.finish();
    }
}

} // namespace

ContentIndex::ContentIndex(const Store &store) : m_store(store) {}

bool ContentIndex::ensure()
{
    const QString exists = QStringLiteral("select count(*) from sqlite_master where name = '%1'");
    if (m_store.value(exists.arg(IndexTable)).toInt() == 0) {
        // FTS5 is no Jet SQL: the statement runs as it stands.
        QSqlQuery create(m_store.database());
        create.exec(QStringLiteral("create virtual table if not exists %1 using fts5(body, mdate "
                                   "unindexed, signature unindexed, tokenize = 'trigram')")
                        .arg(IndexTable));
    }
    QSqlQuery(m_store.database())
        .exec(QStringLiteral("create table if not exists %1 (day TEXT, maxid INTEGER)")
                  .arg(CheckTable));
    m_available = m_store.value(exists.arg(IndexTable)).toInt() == 1;
    return m_available;
}

bool ContentIndex::put(qint64 id, const QString &text, const QDateTime &mDate,
                       const QString &content)
{
    if (!m_available || !remove(id))
        return false;
    QSqlQuery insert = prepared(m_store, QStringLiteral("insert into %1 (rowid, body, mdate, "
                                                        "signature) values (?, ?, ?, ?)")
                                             .arg(IndexTable));
    insert.addBindValue(id);
    insert.addBindValue(text.isNull() ? QString(QLatin1String("")) : text);
    insert.addBindValue(dateValue(mDate));
    insert.addBindValue(signature(content));
    return insert.exec();
}

bool ContentIndex::remove(qint64 id)
{
    if (!m_available)
        return false;
    QSqlQuery erase =
        prepared(m_store, QStringLiteral("delete from %1 where rowid = ?").arg(IndexTable));
    erase.addBindValue(id);
    return erase.exec();
}

bool ContentIndex::clear()
{
    QSqlQuery drop(m_store.database());
    if (!drop.exec(QStringLiteral("drop table if exists %1").arg(IndexTable))) {
        // An index whose own tables are broken cannot be opened, so not dropped either: its
        // entry leaves the schema by hand (and the connection reads the schema again), then
        // its tables are dropped as the ordinary tables they are.
        drop.exec(QStringLiteral("pragma writable_schema = on"));
        drop.exec(QStringLiteral("delete from sqlite_master where type = 'table' and name = '%1'")
                      .arg(IndexTable));
        drop.exec(QStringLiteral("pragma writable_schema = reset"));
        for (const char *part : {"_data", "_idx", "_content", "_docsize", "_config"})
            drop.exec(
                QStringLiteral("drop table if exists %1%2").arg(IndexTable, QLatin1String(part)));
    }
    drop.exec(QStringLiteral("drop table if exists %1").arg(CheckTable));
    return ensure();
}

ContentIndex::Staleness ContentIndex::check() const
{
    Staleness staleness;
    if (!m_available)
        return staleness;
    QSqlQuery last(m_store.database());
    QString day;
    qint64 checkedMaxId = 0;
    if (last.exec(QStringLiteral("select day, maxid from %1").arg(CheckTable)) && last.next()) {
        day = last.value(0).toString();
        checkedMaxId = last.value(1).toLongLong();
    }
    staleness.checkedMaxId = checkedMaxId;
    staleness.checkedDay = JetSql::parseDate(day).date();
    staleness.maxId =
        m_store.value(QStringLiteral("select max(id) from nv_notesdairy1")).toLongLong();
    collect(m_store, QStringLiteral("n.id > ? order by n.id"), {checkedMaxId}, staleness.ids);
    if (!day.isEmpty()) {
        std::vector<qint64> changed;
        collect(m_store, QStringLiteral("n.mDate >= ? and n.id <= ?"), {day, checkedMaxId},
                changed);
        staleness.ids.insert(staleness.ids.end(), changed.begin(), changed.end());
        std::sort(staleness.ids.begin(), staleness.ids.end());
    }
    return staleness;
}

bool ContentIndex::markChecked(qint64 maxId, QDate today)
{
    QSqlQuery mark(m_store.database());
    if (!mark.exec(QStringLiteral("delete from %1").arg(CheckTable)))
        return false;
    mark = prepared(m_store,
                    QStringLiteral("insert into %1 (day, maxid) values (?, ?)").arg(CheckTable));
    mark.addBindValue(JetSql::canonicalDate(today));
    mark.addBindValue(maxId);
    return mark.exec();
}

QString ContentIndex::condition(const QString &text)
{
    if (text.size() >= MinIndexedLength) {
        // One FTS5 phrase: the trigrams of the text, consecutive, i.e. the text itself.
        QString phrase = text;
        phrase.replace('"', QLatin1String("\"\""));
        return QStringLiteral("id in (select rowid from %1 where %1 match %2)")
            .arg(IndexTable, SqlText::literal('"' + phrase + '"'));
    }
    return QStringLiteral("id in (select rowid from %1 where instr(lcase(body), lcase(%2)) > 0)")
        .arg(IndexTable, SqlText::literal(text.isNull() ? QString(QLatin1String("")) : text));
}

qint64 ContentIndex::signature(const QString &content)
{
    if (content.isEmpty())
        return 0;
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char *>(content.utf16()), content.size() * 2),
        QCryptographicHash::Md5);
    return qFromLittleEndian<qint64>(digest.constData());
}
