#include "ConversionTable.h"

#include "ReferenceData.h"

#include <QStringList>

#include <cmath>
#include <cstdlib>

#include <sqlite3.h>

namespace
{

// Recursive descent over one factor expression:
//   expr := term (('*' | '/') term)*
//   term := atom ('^' ['-'] digits)?
//   atom := number | '(' expr ')'
class FactorParser
{
public:
    explicit FactorParser(const QString &text) : m_text(text) {}

    std::optional<long double> parse()
    {
        const auto value = expression();
        skipSpaces();
        if (!value || m_pos != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    void skipSpaces()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool take(QChar c)
    {
        skipSpaces();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    std::optional<long double> expression()
    {
        auto value = term();
        while (value) {
            if (take('*')) {
                const auto rhs = term();
                if (!rhs)
                    return std::nullopt;
                *value *= *rhs;
            } else if (take('/')) {
                const auto rhs = term();
                if (!rhs || *rhs == 0)
                    return std::nullopt;
                *value /= *rhs;
            } else {
                break;
            }
        }
        return value;
    }

    std::optional<long double> term()
    {
        auto value = atom();
        if (!value || !take('^'))
            return value;
        skipSpaces();
        const bool negative = take('-');
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text.at(m_pos).isDigit())
            ++m_pos;
        bool ok = false;
        const int exponent = m_text.mid(start, m_pos - start).toInt(&ok);
        if (!ok)
            return std::nullopt;
        return std::pow(*value, static_cast<long double>(negative ? -exponent : exponent));
    }

    std::optional<long double> atom()
    {
        if (take('(')) {
            const auto value = expression();
            if (!value || !take(')'))
                return std::nullopt;
            return value;
        }
        skipSpaces();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == '.'))
            ++m_pos;
        if (start == m_pos)
            return std::nullopt;
        // strtold reads the decimal text to full long double precision.
        const QByteArray digits = m_text.mid(start, m_pos - start).toLatin1();
        char *end = nullptr;
        const long double value = std::strtold(digits.constData(), &end);
        if (end != digits.constData() + digits.size())
            return std::nullopt;
        return value;
    }

    QString m_text;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<long double> ConversionTable::evaluate(const QString &expression)
{
    return FactorParser(expression).parse();
}

std::optional<QList<ConversionTable::Unit>> ConversionTable::parseUnits(const QString &tsv,
                                                                        QString *message)
{
    QList<Unit> units;
    const QStringList lines = tsv.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = lines.at(i).split('\t');
        const auto fail = [&](const QString &why) {
            if (message)
                *message = QStringLiteral("units.tsv line %1: %2").arg(i + 1).arg(why);
            return std::nullopt;
        };
        if (fields.size() != 5)
            return fail(QStringLiteral("expected 5 tab-separated fields"));
        Unit unit;
        unit.type = fields.at(0).trimmed();
        unit.name = fields.at(1).trimmed();
        const auto factor = evaluate(fields.at(2));
        const QString view = fields.at(3).trimmed();
        const QString system = fields.at(4).trimmed();
        if (unit.type.isEmpty() || unit.name.isEmpty())
            return fail(QStringLiteral("type and unit must not be empty"));
        if (!factor || *factor <= 0)
            return fail(QStringLiteral("unreadable factor \"%1\"").arg(fields.at(2)));
        if (view != QLatin1String("common") && view != QLatin1String("all"))
            return fail(QStringLiteral("view must be common or all"));
        if (system != QLatin1String("M") && system != QLatin1String("-"))
            return fail(QStringLiteral("system must be M or -"));
        for (const Unit &other : std::as_const(units)) {
            // Unit columns compare without regard to case, as Jet does.
            if (other.type == unit.type && other.name.compare(unit.name, Qt::CaseInsensitive) == 0)
                return fail(QStringLiteral("unit \"%1\" defined twice").arg(unit.name));
        }
        unit.factor = *factor;
        unit.common = view == QLatin1String("common");
        unit.metric = system == QLatin1String("M");
        units.append(unit);
    }
    return units;
}

QList<ConversionTable::Row> ConversionTable::rows(const QList<Unit> &units)
{
    QList<Row> rows;
    for (const Unit &from : units) {
        for (const Unit &to : units) {
            if (to.type != from.type)
                continue;
            Row row;
            row.type = from.type;
            row.unit1 = from.name;
            row.unit2 = to.name;
            row.value = static_cast<double>(from.factor / to.factor);
            row.viewType =
                from.common && to.common ? QStringLiteral("common") : QStringLiteral("all");
            row.matric = from.metric && to.metric ? QStringLiteral("M") : QString();
            rows.append(row);
        }
    }
    return rows;
}

bool ConversionTable::insert(sqlite3 *db, QString *message)
{
    const QString tsv = ReferenceData::text(QStringLiteral("units.tsv"));
    if (tsv.isNull()) {
        if (message)
            *message = QStringLiteral("The unit table is missing from the program.");
        return false;
    }
    const auto units = parseUnits(tsv, message);
    if (!units)
        return false;

    sqlite3_stmt *statement = nullptr;
    const char *sql =
        "INSERT INTO NV_CONVERSION (\"TYPE\", UNIT1, UNIT2, \"Value\", VIEWTYPE, MATRIC)"
        " VALUES (?, ?, ?, ?, ?, ?)";
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        if (message)
            *message = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const auto bindText = [statement](int column, const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement, column, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    };
    bool ok = true;
    for (const Row &row : rows(*units)) {
        bindText(1, row.type);
        bindText(2, row.unit1);
        bindText(3, row.unit2);
        sqlite3_bind_double(statement, 4, row.value);
        bindText(5, row.viewType);
        bindText(6, row.matric);
        if (sqlite3_step(statement) != SQLITE_DONE) {
            if (message)
                *message = QString::fromUtf8(sqlite3_errmsg(db));
            ok = false;
            break;
        }
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    return ok;
}
