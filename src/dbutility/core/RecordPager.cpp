#include "RecordPager.h"

#include "JetSql.h"

#include <QElapsedTimer>

#include <sqlite3.h>

#include <algorithm>

namespace
{

constexpr int MaxPages = 48;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

sqlite3_stmt *prepareText(sqlite3 *db, const QString &jetSql, QString *error)
{
    const QByteArray sql = JetSql::translate(jetSql).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

struct Interrupt {
    const std::function<bool()> *cancelled;
};

int checkCancel(void *context)
{
    const auto *interrupt = static_cast<Interrupt *>(context);
    return (*interrupt->cancelled)() ? 1 : 0;
}

} // namespace

RecordPager::RecordPager(sqlite3 *db, const RecordQuery &query) : m_db(db), m_query(query) {}

RecordPager::~RecordPager()
{
    sqlite3_finalize(m_orderStatement);
    sqlite3_finalize(m_fetchStatement);
}

bool RecordPager::prepare(QString *error)
{
    if (!m_db) {
        if (error)
            *error = QStringLiteral("The database is not open");
        return false;
    }
    const QString columns = m_query.list.isEmpty() ? QStringLiteral("*") : m_query.list;
    const QString groupValue =
        m_query.grouped ? BrowseSql::bracketed(m_query.orderField) : QStringLiteral("NULL");
    const QString tail =
        QStringLiteral(" from ") + m_query.from() + m_query.where +
        (m_query.orderField.isEmpty()
             ? QString()
             : QStringLiteral(" order by ") + BrowseSql::bracketed(m_query.orderField) +
                   (m_query.descending ? QStringLiteral(" desc") : QString()));
    m_fetchStatement = prepareText(m_db,
                                   QStringLiteral("select ") + columns + QStringLiteral(" from ") +
                                       m_query.from() + QStringLiteral(" where rowid = ?"),
                                   nullptr);
    if (m_fetchStatement && hasRecordNumbers())
        m_orderStatement =
            prepareText(m_db, QStringLiteral("select rowid, ") + groupValue + tail, nullptr);
    if (!m_orderStatement) {
        // No record numbers: the rows themselves are kept.
        sqlite3_finalize(m_fetchStatement);
        m_fetchStatement = nullptr;
        m_materialized = true;
        m_orderStatement = prepareText(m_db,
                                       QStringLiteral("select NULL, ") + groupValue +
                                           QStringLiteral(", ") + columns + tail,
                                       error);
        if (!m_orderStatement)
            return false;
    }
    sqlite3_stmt *described = m_materialized ? m_orderStatement : m_fetchStatement;
    const int first = m_materialized ? 2 : 0;
    for (int c = first; c < sqlite3_column_count(described); ++c)
        m_columns.append(QString::fromUtf8(sqlite3_column_name(described, c)));
    m_isDate.clear();
    for (const QString &name : std::as_const(m_columns))
        m_isDate.append(m_dateColumns.contains(name.toLower()));
    return true;
}

bool RecordPager::hasRecordNumbers() const
{
    // A view answers rowid with nothing rather than failing.
    sqlite3_stmt *probe = prepareText(
        m_db, QStringLiteral("select rowid from ") + m_query.from() + QStringLiteral(" limit 1"),
        nullptr);
    if (!probe)
        return false;
    const bool numbered =
        sqlite3_step(probe) != SQLITE_ROW || sqlite3_column_type(probe, 0) != SQLITE_NULL;
    sqlite3_finalize(probe);
    return numbered;
}

bool RecordPager::fillMore(int maxRows, int budgetMs)
{
    if (m_complete || !m_orderStatement)
        return true;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < maxRows; ++i) {
        if (!step(m_orderStatement, nullptr))
            break;
        if ((i & 1023) == 1023 && clock.elapsed() >= budgetMs)
            break;
    }
    rebuildGroupRows();
    return m_complete;
}

bool RecordPager::buildAll(const std::function<bool()> &cancelled, QString *error,
                           const std::function<void(qint64)> &progress)
{
    if (!m_orderStatement)
        return m_complete;
    Interrupt interrupt{&cancelled};
    if (cancelled)
        sqlite3_progress_handler(m_db, 20000, checkCancel, &interrupt);
    QString failure;
    qint64 rows = 0;
    bool stopped = false;
    while (!(stopped = (rows & 0xFFF) == 0 && cancelled && cancelled()) &&
           step(m_orderStatement, &failure)) {
        if ((++rows & 0xFFFF) == 0 && progress)
            progress(rows);
    }
    sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    if (!m_complete) {
        // Nothing of an order that was not made is shown.
        sqlite3_finalize(m_orderStatement);
        m_orderStatement = nullptr;
        m_order.clear();
        m_rows.clear();
        m_groups.clear();
        if (error)
            *error = stopped || (cancelled && cancelled()) ? QString() : failure;
    }
    rebuildGroupRows();
    if (progress)
        progress(rows);
    return m_complete;
}

bool RecordPager::step(sqlite3_stmt *statement, QString *error)
{
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        takeRow(statement);
        return true;
    }
    if (rc == SQLITE_DONE) {
        closeGroup(qint64(m_order.size()));
        m_complete = true;
    } else if (error) {
        *error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    sqlite3_finalize(m_orderStatement);
    m_orderStatement = nullptr;
    return false;
}

void RecordPager::takeRow(sqlite3_stmt *statement)
{
    const qint64 position = qint64(m_order.size());
    if (m_materialized) {
        QStringList values;
        const int count = sqlite3_column_count(statement);
        values.reserve(count - 2);
        for (int c = 2; c < count; ++c)
            values.append(displayText(statement, c, m_isDate.value(c - 2)));
        m_rows.push_back(std::move(values));
        m_order.push_back(position);
    } else {
        m_order.push_back(sqlite3_column_int64(statement, 0));
    }
    if (!m_query.grouped)
        return;
    // Compared as stored bytes, blanks cut: a text is made only where a new value starts.
    const bool isText = sqlite3_column_type(statement, 1) == SQLITE_TEXT;
    QByteArray bytes;
    if (isText) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 1));
        const char *begin = text;
        const char *end = text + sqlite3_column_bytes(statement, 1);
        while (begin < end && isSpace(*begin))
            ++begin;
        while (end > begin && isSpace(end[-1]))
            --end;
        bytes = QByteArray::fromRawData(begin, end - begin);
    } else {
        bytes = displayText(statement, 1, false).toUtf8();
    }
    if (m_groups.empty() || bytes != m_running) {
        closeGroup(position);
        m_running = QByteArray(bytes.constData(), bytes.size());
        m_groups.push_back({QString::fromUtf8(m_running), position, 0, true});
    }
}

void RecordPager::closeGroup(qint64 end)
{
    if (!m_groups.empty())
        m_groups.back().count = end - m_groups.back().start;
}

void RecordPager::rebuildGroupRows()
{
    if (!m_query.grouped)
        return;
    closeGroup(qint64(m_order.size()));
    m_groupRow.resize(m_groups.size());
    int row = 0;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        m_groupRow[g] = row;
        row += 1 + (m_groups[g].collapsed ? 0 : int(m_groups[g].count));
    }
    m_groupedRows = row;
}

int RecordPager::rowCount() const
{
    if (m_query.grouped)
        return m_groupedRows;
    return int(std::min<size_t>(m_order.size(), size_t(std::numeric_limits<int>::max())));
}

bool RecordPager::locate(int row, int *group, qint64 *offset) const
{
    if (row < 0 || row >= m_groupedRows || m_groupRow.empty())
        return false;
    const auto after = std::upper_bound(m_groupRow.begin(), m_groupRow.end(), row);
    *group = int(after - m_groupRow.begin()) - 1;
    *offset = qint64(row - m_groupRow[size_t(*group)]) - 1;
    return true;
}

qint64 RecordPager::recordPosition(int row) const
{
    if (!m_query.grouped)
        return row >= 0 && size_t(row) < m_order.size() ? row : -1;
    int group = 0;
    qint64 offset = 0;
    if (!locate(row, &group, &offset) || offset < 0)
        return -1;
    return m_groups[size_t(group)].start + offset;
}

qint64 RecordPager::recordNumber(int row) const
{
    const qint64 position = recordPosition(row);
    return position < 0 || m_materialized ? -1 : m_order[size_t(position)];
}

qint64 RecordPager::groupStart(int row) const
{
    int group = 0;
    qint64 offset = 0;
    if (!m_query.grouped || !locate(row, &group, &offset) || offset >= 0)
        return -1;
    return m_groups[size_t(group)].start;
}

QString RecordPager::text(int row, int column) const
{
    if (m_query.grouped) {
        int group = 0;
        qint64 offset = 0;
        if (locate(row, &group, &offset) && offset < 0)
            return column == 0 ? m_groups[size_t(group)].value : QString();
    }
    const qint64 position = recordPosition(row);
    if (position < 0)
        return QString();
    if (!m_pending.empty() && !m_materialized) {
        const auto typed = m_pending.find(m_order[size_t(position)]);
        if (typed != m_pending.end() && typed->second.contains(column))
            return typed->second.value(column);
    }
    const QStringList *values = record(position);
    return values ? values->value(column) : QString();
}

bool RecordPager::isEditable(int row, int column) const
{
    return m_editable && column >= 0 && column < m_columns.size() && recordNumber(row) >= 0;
}

bool RecordPager::setText(int row, int column, const QString &text)
{
    if (!isEditable(row, column))
        return false;
    const qint64 number = recordNumber(row);
    const QStringList *stored = record(recordPosition(row));
    RowTexts &typed = m_pending[number];
    if (stored && stored->value(column) == text)
        typed.remove(column);
    else
        typed.insert(column, text);
    if (typed.isEmpty())
        m_pending.erase(number);
    return true;
}

int RecordPager::rowOf(qint64 recordNumber) const
{
    if (m_materialized || recordNumber < 0)
        return -1;
    const auto found = std::find(m_order.begin(), m_order.end(), recordNumber);
    if (found == m_order.end())
        return -1;
    const qint64 position = found - m_order.begin();
    if (!m_query.grouped)
        return position < rowCount() ? int(position) : -1;
    const auto after =
        std::upper_bound(m_groups.begin(), m_groups.end(), position,
                         [](qint64 value, const Group &group) { return value < group.start; });
    if (after == m_groups.begin())
        return -1;
    const size_t group = size_t(after - m_groups.begin()) - 1;
    if (m_groups[group].collapsed || group >= m_groupRow.size())
        return -1;
    return m_groupRow[group] + 1 + int(position - m_groups[group].start);
}

const QStringList *RecordPager::record(qint64 position) const
{
    if (m_materialized)
        return &m_rows[size_t(m_order[size_t(position)])];
    const Page *found = page(int(position / PageRows));
    if (!found)
        return nullptr;
    const size_t inPage = size_t(position % PageRows);
    return inPage < found->rows.size() ? &found->rows[inPage] : nullptr;
}

const RecordPager::Page *RecordPager::page(int index) const
{
    for (Page &cached : m_pages) {
        if (cached.index == index) {
            cached.lastUse = ++m_useClock;
            return &cached;
        }
    }
    if (m_frozen || !m_fetchStatement)
        return nullptr;
    Page fresh;
    fresh.index = index;
    fresh.lastUse = ++m_useClock;
    const qint64 first = qint64(index) * PageRows;
    const qint64 end = std::min<qint64>(first + PageRows, qint64(m_order.size()));
    const int columns = sqlite3_column_count(m_fetchStatement);
    for (qint64 position = first; position < end; ++position) {
        sqlite3_reset(m_fetchStatement);
        sqlite3_bind_int64(m_fetchStatement, 1, m_order[size_t(position)]);
        QStringList values;
        if (sqlite3_step(m_fetchStatement) == SQLITE_ROW) {
            values.reserve(columns);
            for (int c = 0; c < columns; ++c)
                values.append(displayText(m_fetchStatement, c, m_isDate.value(c)));
        }
        fresh.rows.push_back(std::move(values));
    }
    sqlite3_reset(m_fetchStatement);
    // A page read while the order was still growing is read again once it is whole.
    if (qint64(fresh.rows.size()) < PageRows && !m_complete)
        fresh.index = -1;
    if (m_pages.size() < MaxPages) {
        m_pages.push_back(std::move(fresh));
        return &m_pages.back();
    }
    auto oldest =
        std::min_element(m_pages.begin(), m_pages.end(),
                         [](const Page &a, const Page &b) { return a.lastUse < b.lastUse; });
    *oldest = std::move(fresh);
    return &*oldest;
}

int RecordPager::outlineLevel(int row) const
{
    int group = 0;
    qint64 offset = 0;
    return m_query.grouped && locate(row, &group, &offset) && offset < 0 ? 0 : -1;
}

bool RecordPager::isCollapsed(int row) const
{
    int group = 0;
    qint64 offset = 0;
    return m_query.grouped && locate(row, &group, &offset) && offset < 0 &&
           m_groups[size_t(group)].collapsed;
}

int RecordPager::childRows(int row) const
{
    int group = 0;
    qint64 offset = 0;
    if (!m_query.grouped || !locate(row, &group, &offset) || offset >= 0)
        return 0;
    return int(m_groups[size_t(group)].count);
}

void RecordPager::setCollapsed(int row, bool collapsed)
{
    int group = 0;
    qint64 offset = 0;
    if (!m_query.grouped || !locate(row, &group, &offset) || offset >= 0)
        return;
    m_groups[size_t(group)].collapsed = collapsed;
    rebuildGroupRows();
}

QString RecordPager::displayText(sqlite3_stmt *statement, int column, bool dateColumn)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(statement, column), 'g', 15);
    case SQLITE_BLOB:
        return QStringLiteral("(%1 bytes)").arg(sqlite3_column_bytes(statement, column));
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        const int bytes = sqlite3_column_bytes(statement, column);
        if (dateColumn && bytes == 19 && qstrncmp(text + 10, " 00:00:00", 9) == 0)
            return QString::fromUtf8(text, 10);
        return QString::fromUtf8(text, bytes);
    }
    }
}
