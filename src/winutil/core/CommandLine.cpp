#include "CommandLine.h"

namespace
{

bool isBlank(QChar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::optional<QStringList> CommandLine::split(const QString &text, const QString &home)
{
    QStringList words;
    QString word;
    bool inWord = false;
    enum class Quote { None, Single, Double } quote = Quote::None;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quote == Quote::Single) {
            if (c == '\'')
                quote = Quote::None;
            else
                word += c;
            continue;
        }
        if (quote == Quote::Double) {
            if (c == '"') {
                quote = Quote::None;
            } else if (c == '\\' && i + 1 < text.size() &&
                       QStringLiteral("\"\\$`").contains(text.at(i + 1))) {
                word += text.at(++i);
            } else {
                word += c;
            }
            continue;
        }
        if (isBlank(c)) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        }
        if (!inWord && c == '~' && !home.isEmpty() &&
            (i + 1 == text.size() || text.at(i + 1) == '/' || isBlank(text.at(i + 1)))) {
            word += home;
            inWord = true;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            quote = Quote::Single;
        } else if (c == '"') {
            quote = Quote::Double;
        } else if (c == '\\') {
            if (i + 1 == text.size())
                return std::nullopt;
            word += text.at(++i);
        } else {
            word += c;
        }
    }
    if (quote != Quote::None)
        return std::nullopt;
    if (inWord)
        words << word;
    return words;
}

QString CommandLine::quote(const QString &argument)
{
    // The reserved characters of the desktop entry Exec key.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = !argument.isEmpty();
    for (const QChar c : argument) {
        if (reserved.contains(c)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}
