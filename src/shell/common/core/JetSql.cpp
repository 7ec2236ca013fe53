#include "JetSql.h"

#include "SqliteHandle.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace
{

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == '_' || c == '$';
}

QString quoteLiteral(const QString &text)
{
    QString out = text;
    out.replace('\'', "''");
    return '\'' + out + '\'';
}

QString dateLiteralToSql(const QString &body)
{
    const QDateTime value = JetSql::parseDate(body.trimmed());
    // An unreadable literal stays a literal that matches nothing rather than breaking the text.
    return quoteLiteral(value.isValid() ? JetSql::canonicalDate(value) : body);
}

// A like pattern read once: one token per character it matches, and stars. Matching costs at
// most text length x pattern length (a star only ever moves forward over the text).
class LikePattern
{
public:
    explicit LikePattern(const QString &pattern)
    {
        const QString folded = pattern.toCaseFolded();
        const qsizetype size = folded.size();
        m_ascii = std::all_of(folded.cbegin(), folded.cend(),
                              [](QChar c) { return c.unicode() < 0x80; });
        // The next ']' after each position, found in one backward pass, so that a pattern of
        // unclosed '[' stays linear.
        std::vector<qsizetype> nextClose(size_t(size) + 1, -1);
        for (qsizetype i = size - 1; i >= 0; --i)
            nextClose[size_t(i)] = folded.at(i) == u']' ? i : nextClose[size_t(i) + 1];
        for (qsizetype i = 0; i < size; ++i) {
            const QChar c = folded.at(i);
            const qsizetype close = c == u'[' ? nextClose[size_t(i) + 1] : -1;
            if (c == u'[' && close >= 0) {
                addSet(QStringView(folded).mid(i + 1, close - i - 1));
                i = close;
            } else if (c == u'*') {
                if (m_tokens.empty() || m_tokens.back().kind != Kind::Star)
                    m_tokens.push_back({Kind::Star});
            } else {
                m_tokens.push_back({c == u'?'   ? Kind::Any
                                    : c == u'#' ? Kind::Digit
                                                : Kind::Char,
                                    c});
            }
        }
    }

    bool matches(const QString &value) const
    {
        const QString text = value.toCaseFolded();
        return run(size_t(text.size()), [&text](size_t i) { return text.at(qsizetype(i)); });
    }

    // The same on UTF-8 bytes without making a text of them, when pattern and value are plain
    // ASCII (most names and codes); nothing when either is not.
    std::optional<bool> matchesAscii(const char *value, qsizetype size) const
    {
        if (!m_ascii || !value)
            return std::nullopt;
        for (qsizetype i = 0; i < size; ++i) {
            if (uchar(value[i]) >= 0x80)
                return std::nullopt;
        }
        return run(size_t(size), [value](size_t i) {
            const char c = value[i];
            return QChar(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        });
    }

private:
    template <typename CharAt> bool run(size_t n, CharAt charAt) const
    {
        const size_t m = m_tokens.size();
        size_t t = 0, p = 0;
        size_t star = m, resume = 0; // the last star met and where its run ends so far
        while (t < n) {
            if (p < m && m_tokens[p].kind == Kind::Star) {
                star = p++;
                resume = t;
            } else if (p < m && matchesOne(m_tokens[p], charAt(t))) {
                ++p;
                ++t;
            } else if (star < m) {
                p = star + 1;
                t = ++resume;
            } else {
                return false;
            }
        }
        while (p < m && m_tokens[p].kind == Kind::Star)
            ++p;
        return p == m;
    }

    enum class Kind { Star, Any, Digit, Char, Set };
    struct Token {
        Kind kind;
        QChar c = {};
        bool negate = false;
        int ranges = 0; // in m_ranges from `first`
        int first = 0;
    };

    // [abc], [a-z], [!x]: a set of single characters and ranges.
    void addSet(QStringView set)
    {
        Token token{Kind::Set};
        token.negate = set.startsWith(u'!');
        if (token.negate)
            set = set.mid(1);
        token.first = int(m_ranges.size());
        for (qsizetype k = 0; k < set.size(); ++k) {
            const bool range = k + 2 < set.size() && set.at(k + 1) == u'-';
            m_ranges.emplace_back(set.at(k), set.at(range ? k + 2 : k));
            k += range ? 2 : 0;
        }
        token.ranges = int(m_ranges.size()) - token.first;
        m_tokens.push_back(token);
    }

    bool matchesOne(const Token &token, QChar c) const
    {
        switch (token.kind) {
        case Kind::Any:
            return true;
        case Kind::Digit:
            return c.isDigit();
        case Kind::Char:
            return c == token.c;
        case Kind::Set: {
            bool found = false;
            for (int r = token.first; r < token.first + token.ranges && !found; ++r)
                found = c >= m_ranges[size_t(r)].first && c <= m_ranges[size_t(r)].second;
            return found != token.negate;
        }
        case Kind::Star:
            break;
        }
        return false;
    }

    std::vector<Token> m_tokens;
    std::vector<std::pair<QChar, QChar>> m_ranges;
    bool m_ascii = false;
};

QString argText(sqlite3_value *v)
{
    const auto *data = reinterpret_cast<const char16_t *>(sqlite3_value_text16(v));
    return data ? QString::fromUtf16(data, sqlite3_value_bytes16(v) / 2) : QString();
}

void resultText(sqlite3_context *ctx, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void sqlLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQLite calls like(pattern, value) for "value LIKE pattern". A constant pattern is read
    // once per statement: SQLite keeps it beside the argument between rows.
    auto *pattern = static_cast<LikePattern *>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new LikePattern(argText(argv[0]));
        sqlite3_set_auxdata(ctx, 0, pattern,
                            [](void *made) { delete static_cast<LikePattern *>(made); });
        // SQLite may free it at once (a pattern that changes per row): ask again.
        pattern = static_cast<LikePattern *>(sqlite3_get_auxdata(ctx, 0));
    }
    std::optional<bool> matches;
    if (pattern)
        matches = pattern->matchesAscii(reinterpret_cast<const char *>(sqlite3_value_text(argv[1])),
                                        sqlite3_value_bytes(argv[1]));
    if (!matches)
        matches = pattern ? pattern->matches(argText(argv[1]))
                          : JetSql::like(argText(argv[1]), argText(argv[0]));
    sqlite3_result_int(ctx, *matches ? 1 : 0);
}

void sqlLen(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, argText(argv[0]).size());
}

template <int Part> void sqlDatePart(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime value = sqlite3_value_type(argv[0]) == SQLITE_NULL
                                ? QDateTime()
                                : JetSql::parseDate(argText(argv[0]));
    if (!value.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDate d = value.date();
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

// Qt's case change grows a text in place for each character that becomes two ("ß" -> "SS"),
// which costs the square of the length: short pieces keep it linear. Case changes need no
// context beyond a character, so the pieces give the same text.
QString changedCase(const QString &text, bool upper)
{
    constexpr qsizetype piece = 256;
    if (text.size() <= piece)
        return upper ? text.toUpper() : text.toLower();
    QString changed;
    changed.reserve(text.size() + text.size() / 8);
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = qMin(piece, text.size() - at);
        if (text.at(at + length - 1).isHighSurrogate() && at + length < text.size())
            ++length;
        const QString part = text.mid(at, length);
        changed += upper ? part.toUpper() : part.toLower();
        at += length;
    }
    return changed;
}

template <bool Upper> void sqlCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, changedCase(argText(argv[0]), Upper));
}

void sqlNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultText(ctx, JetSql::canonicalDate(QDateTime::currentDateTime()));
}

} // namespace

QString JetSql::translate(const QString &jetSql)
{
    QString out;
    out.reserve(jetSql.size() + 16);
    const qsizetype n = jetSql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = jetSql.at(i);
        if (c == '\'' || c == '"') {
            // A literal, with the quote doubled inside; copied as a '...' literal.
            QString body;
            qsizetype j = i + 1;
            while (j < n) {
                if (jetSql.at(j) == c) {
                    if (j + 1 < n && jetSql.at(j + 1) == c) {
                        body += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                body += jetSql.at(j++);
            }
            out += quoteLiteral(body);
            i = j + 1;
        } else if (c == '[') {
            const qsizetype close = jetSql.indexOf(']', i + 1);
            const qsizetype end = close < 0 ? n : close;
            QString name = jetSql.mid(i + 1, end - i - 1);
            name.replace('"', "\"\"");
            out += '"' + name + '"';
            i = end + 1;
        } else if (c == '#') {
            const qsizetype close = jetSql.indexOf('#', i + 1);
            if (close < 0) {
                out += c;
                ++i;
            } else {
                out += dateLiteralToSql(jetSql.mid(i + 1, close - i - 1));
                i = close + 1;
            }
        } else if (c == '&') {
            out += "||";
            ++i;
        } else if (c.isLetter() || c == '_') {
            qsizetype j = i;
            while (j < n && isIdentChar(jetSql.at(j)))
                ++j;
            const QString word = jetSql.mid(i, j - i);
            const bool prevIsDot = !out.isEmpty() && out.back() == '.';
            if (!prevIsDot && word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
                out += '1';
            } else if (!prevIsDot &&
                       word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
                out += '0';
            } else if (word.compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0) {
                out += word;
                qsizetype k = j;
                while (k < n && jetSql.at(k).isSpace())
                    ++k;
                if (k < n && jetSql.at(k) == '*')
                    j = k + 1; // "Delete * from t" is "Delete from t"
            } else {
                out += word;
            }
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

bool JetSql::install(const QSqlDatabase &db)
{
    return install(sqliteHandle(db));
}

bool JetSql::install(sqlite3 *handle)
{
    if (!handle)
        return false;
    struct Function {
        const char *name;
        int args;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
        bool deterministic;
    };
    static const Function functions[] = {
        {"like", 2, sqlLike, true},         {"len", 1, sqlLen, true},
        {"year", 1, sqlDatePart<0>, true},  {"month", 1, sqlDatePart<1>, true},
        {"day", 1, sqlDatePart<2>, true},   {"ucase", 1, sqlCase<true>, true},
        {"lcase", 1, sqlCase<false>, true}, {"now", 0, sqlNow, false},
    };
    bool ok = true;
    for (const Function &f : functions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        ok = sqlite3_create_function_v2(handle, f.name, f.args, flags, nullptr, f.fn, nullptr,
                                        nullptr, nullptr) == SQLITE_OK &&
             ok;
    }
    return ok;
}

QString JetSql::canonicalDate(const QDateTime &value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString JetSql::canonicalDate(QDate value)
{
    return canonicalDate(value.startOfDay());
}

namespace
{

// The canonical text and its date alone, read by hand: the common case of every stored date.
QDateTime canonicalWallClock(QStringView t)
{
    const auto digits = [&t](qsizetype at, int count) {
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            if (!t.at(i).isDigit() || t.at(i).unicode() > '9')
                return -1;
            value = value * 10 + (t.at(i).unicode() - '0');
        }
        return value;
    };
    if ((t.size() != 10 && t.size() != 19) || t.at(4) != u'-' || t.at(7) != u'-')
        return {};
    const QDate date(digits(0, 4), digits(5, 2), digits(8, 2));
    if (t.size() == 10)
        return date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
    if (t.at(10) != u' ' || t.at(13) != u':' || t.at(16) != u':')
        return {};
    const QTime time(digits(11, 2), digits(14, 2), digits(17, 2));
    return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

} // namespace

QDateTime JetSql::parseDate(const QString &text)
{
    static const QLocale c = QLocale::c();
    // Date and time are read apart: a time zone has no say in a stored wall-clock text (a time
    // in a daylight-saving gap is still that time).
    struct DateTimeFormat {
        const char *date;
        char separator;
        const char *time;
    };
    static const DateTimeFormat formats[] = {
        {"yyyy-MM-dd", ' ', "HH:mm:ss"},   {"yyyy-MM-dd", ' ', "HH:mm:ss.zzz"},
        {"yyyy-MM-dd", 'T', "HH:mm:ss"},   {"yyyy-MM-dd", ' ', "HH:mm"},
        {"dd-MMM-yyyy", ' ', "HH:mm:ss"},  {"dd-MMM-yyyy", ' ', "HH:mm"},
        {"d-MMM-yyyy", ' ', "h:mm:ss AP"}, {"MM/dd/yyyy", ' ', "HH:mm:ss"},
        {"M/d/yyyy", ' ', "h:mm:ss AP"},   {"M/d/yyyy", ' ', "H:mm:ss"},
        {"M/d/yyyy", ' ', "H:mm"}};
    static const char *const dateFormats[] = {"yyyy-MM-dd", "d-MMM-yyyy",  "d-MMM-yy",
                                              "M/d/yyyy",   "d MMMM yyyy", "MMM d, yyyy"};
    const QString t = text.trimmed();
    if (const QDateTime canonical = canonicalWallClock(t); canonical.isValid())
        return canonical;
    for (const DateTimeFormat &f : formats) {
        const qsizetype split = t.indexOf(QLatin1Char(f.separator));
        if (split < 0)
            continue;
        const QDate d = c.toDate(t.left(split), QString::fromLatin1(f.date));
        const QTime time =
            d.isValid() ? c.toTime(t.mid(split + 1), QString::fromLatin1(f.time)) : QTime();
        if (time.isValid())
            return QDateTime(d, time, Qt::UTC);
    }
    for (const char *f : dateFormats) {
        QDate d = c.toDate(t, QString::fromLatin1(f));
        if (d.isValid()) {
            if (QString::fromLatin1(f).endsWith("yy") && !QString::fromLatin1(f).endsWith("yyyy"))
                d = QDate(d.year() < 1930 ? d.year() + 100 : d.year(), d.month(), d.day());
            return QDateTime(d, QTime(0, 0), Qt::UTC);
        }
    }
    return {};
}

bool JetSql::like(const QString &value, const QString &pattern)
{
    return LikePattern(pattern).matches(value);
}
