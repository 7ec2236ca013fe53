#pragma once

#include "DbSourceType.h"
#include "SourceField.h"

#include <QString>
#include <QVariant>

// Checks a text typed into a record's cell against the field it goes to, before anything is
// written, and turns it into the value the source layer writes: a date must be a date, a number
// must be a number that fits the field (the width and decimals of a dBase N field, the range of
// a whole-number field), a text must fit the field's length and be made of characters its code
// page holds, a Yes/No field takes yes or no. Every refusal is one sentence naming the field.
class FieldValidator
{
public:
    // field as the source layer gives it (type codes of the installable-driver path); kind of
    // the file it belongs to, since fixed widths and ranges are the formats' own; codePage of
    // its 8-bit text (0: Unicode, every character fits). Dates typed with slashes read day
    // first when dayFirst (the national flag), else month first.
    FieldValidator(const SourceField &field, DbKind kind, int codePage, bool dayFirst);

    // Empty when the text fits, and *value is then what to write (null for an empty text);
    // else the message.
    QString check(const QString &text, QVariant *value) const;

    // A date as typed: yyyy-mm-dd (with a time hh:mm[:ss] after it), yyyymmdd, dd-Mmm-yyyy
    // with an English month, or d/m/yyyy (also with "." or "-") in the order dayFirst says.
    // Gives "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"; null when it is no date.
    static QString dateText(const QString &text, bool dayFirst);

private:
    enum class Class { Text, Number, Whole, Date, YesNo, Binary };

    QString checkText(const QString &text, QVariant *value) const;
    QString checkNumber(const QString &text, QVariant *value) const;

    SourceField m_field;
    DbKind m_kind;
    int m_codePage;
    bool m_dayFirst;
    Class m_class = Class::Text;
    // The range of a whole-number field.
    qint64 m_lowest = 0;
    qint64 m_highest = 0;
};
