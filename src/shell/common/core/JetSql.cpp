#include "JetSql.h"

#include "SqliteHandle.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <optional>

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

// Matches text[ti..] against pattern[pi..]; both already case-folded.
bool likeFrom(const QString &text, qsizetype ti, const QString &pattern, qsizetype pi)
{
    while (pi < pattern.size()) {
        const QChar p = pattern.at(pi);
        if (p == '*') {
            while (pi < pattern.size() && pattern.at(pi) == '*')
                ++pi;
            if (pi == pattern.size())
                return true;
            for (qsizetype k = ti; k <= text.size(); ++k) {
                if (likeFrom(text, k, pattern, pi))
                    return true;
            }
            return false;
        }
        if (ti >= text.size())
            return false;
        const QChar t = text.at(ti);
        if (p == '?') {
            ++pi;
        } else if (p == '#') {
            if (!t.isDigit())
                return false;
            ++pi;
        } else if (p == '[') {
            const qsizetype close = pattern.indexOf(']', pi + 1);
            if (close < 0) {
                if (t != p) // an unclosed bracket is a literal character
                    return false;
                ++pi;
            } else {
                QStringView set = QStringView(pattern).mid(pi + 1, close - pi - 1);
                bool negate = set.startsWith('!');
                if (negate)
                    set = set.mid(1);
                bool found = false;
                for (qsizetype k = 0; k < set.size(); ++k) {
                    if (k + 2 < set.size() && set.at(k + 1) == '-') {
                        found = found || (t >= set.at(k) && t <= set.at(k + 2));
                        k += 2;
                    } else {
                        found = found || t == set.at(k);
                    }
                }
                if (found == negate)
                    return false;
                pi = close + 1;
            }
        } else {
            if (t != p)
                return false;
            ++pi;
        }
        ++ti;
    }
    return ti == text.size();
}

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

// A like pattern made ready once per statement: most patterns of the program are a literal
// with stars around it, which plain ASCII values can match without decoding or folding them.
struct LikePattern {
    enum Kind { General, Exact, Prefix, Suffix, Contains };
    QString folded;
    Kind kind = General;
    QByteArray literal; // lower-case ASCII when `ascii`
    bool ascii = false;

    explicit LikePattern(const QString &pattern) : folded(pattern.toCaseFolded())
    {
        qsizetype begin = 0;
        qsizetype end = folded.size();
        while (begin < end && folded.at(begin) == '*')
            ++begin;
        while (end > begin && folded.at(end - 1) == '*')
            --end;
        const QStringView middle = QStringView(folded).mid(begin, end - begin);
        for (const QChar c : middle) {
            if (c == '*' || c == '?' || c == '#' || c == '[')
                return; // General
        }
        const bool lead = begin > 0;
        const bool trail = end < folded.size();
        kind = lead && trail ? Contains : lead ? Suffix : trail ? Prefix : Exact;
        ascii =
            std::all_of(middle.begin(), middle.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii)
            literal = middle.toLatin1();
    }

    // The answer for a value of plain ASCII bytes; nullopt when only the general match knows.
    std::optional<bool> matchAscii(const char *value, qsizetype size) const
    {
        if (kind == General || !ascii)
            return std::nullopt;
        for (qsizetype i = 0; i < size; ++i) {
            if (static_cast<unsigned char>(value[i]) >= 0x80)
                return std::nullopt;
        }
        const qsizetype n = literal.size();
        const auto equalAt = [&](qsizetype at) {
            for (qsizetype k = 0; k < n; ++k) {
                char c = value[at + k];
                if (c >= 'A' && c <= 'Z')
                    c = char(c - 'A' + 'a');
                if (c != literal[k])
                    return false;
            }
            return true;
        };
        switch (kind) {
        case Exact:
            return size == n && equalAt(0);
        case Prefix:
            return size >= n && equalAt(0);
        case Suffix:
            return size >= n && equalAt(size - n);
        case Contains:
            for (qsizetype at = 0; at + n <= size; ++at) {
                if (equalAt(at))
                    return true;
            }
            return false;
        case General:
            break;
        }
        return std::nullopt;
    }
};

void sqlLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // SQLite calls like(pattern, value) for "value LIKE pattern". The pattern is kept with the
    // statement while it stays the same.
    auto *kept = static_cast<LikePattern *>(sqlite3_get_auxdata(ctx, 0));
    std::optional<LikePattern> made;
    if (!kept)
        made.emplace(argText(argv[0]));
    const LikePattern &pattern = kept ? *kept : *made;
    const auto *value = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
    std::optional<bool> matched = pattern.matchAscii(value, sqlite3_value_bytes(argv[1]));
    if (!matched) {
        const QString text = QString::fromUtf8(value, sqlite3_value_bytes(argv[1]));
        matched = likeFrom(text.toCaseFolded(), 0, pattern.folded, 0);
    }
    sqlite3_result_int(ctx, *matched ? 1 : 0);
    // Last, as SQLite may drop what it is given at once.
    if (made)
        sqlite3_set_auxdata(ctx, 0, new LikePattern(std::move(*made)),
                            [](void *p) { delete static_cast<LikePattern *>(p); });
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

template <bool Upper> void sqlCase(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, Upper ? argText(argv[0]).toUpper() : argText(argv[0]).toLower());
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

QDateTime JetSql::parseDate(const QString &text)
{
    static const QLocale c = QLocale::c();
    static const char *const formats[] = {"yyyy-MM-dd HH:mm:ss",   "yyyy-MM-dd HH:mm:ss.zzz",
                                          "yyyy-MM-ddTHH:mm:ss",   "yyyy-MM-dd HH:mm",
                                          "dd-MMM-yyyy HH:mm:ss",  "dd-MMM-yyyy HH:mm",
                                          "d-MMM-yyyy h:mm:ss AP", "MM/dd/yyyy HH:mm:ss",
                                          "M/d/yyyy h:mm:ss AP",   "M/d/yyyy H:mm:ss",
                                          "M/d/yyyy H:mm"};
    static const char *const dateFormats[] = {"yyyy-MM-dd", "d-MMM-yyyy",  "d-MMM-yy",
                                              "M/d/yyyy",   "d MMMM yyyy", "MMM d, yyyy"};
    const QString t = text.trimmed();
    for (const char *f : formats) {
        QDateTime v = c.toDateTime(t, QString::fromLatin1(f));
        if (v.isValid())
            return v;
    }
    for (const char *f : dateFormats) {
        QDate d = c.toDate(t, QString::fromLatin1(f));
        if (d.isValid()) {
            if (QString::fromLatin1(f).endsWith("yy") && !QString::fromLatin1(f).endsWith("yyyy"))
                d = QDate(d.year() < 1930 ? d.year() + 100 : d.year(), d.month(), d.day());
            return d.startOfDay();
        }
    }
    return {};
}

bool JetSql::like(const QString &value, const QString &pattern)
{
    return likeFrom(value.toCaseFolded(), 0, pattern.toCaseFolded(), 0);
}
