#pragma once

#include <QDate>
#include <QString>

// Builds the values of SQL texts. Every value goes through here, never pasted raw, so a quote in
// a file name cannot break or change a statement.
class SqlText
{
public:
    // 'text' with each ' doubled; a null string gives NULL.
    static QString literal(const QString &text);
    // A Jet date literal, #dd-MMM-yyyy# with English month names whatever the locale.
    static QString dateLiteral(QDate date);
    // text for a Jet `like` pattern matching it literally: the wildcards *, ?, # and [ are put in
    // brackets ("50%*" gives "50%[*]"). The result still goes through literal().
    static QString likeText(const QString &text);
    static QString boolLiteral(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
};
