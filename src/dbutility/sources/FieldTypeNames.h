#pragma once

#include "SourceField.h"

#include <QString>

// Jet field types, the codes of the installable-driver path.
enum class JetType : int {
    Boolean = 1,
    Byte = 2,
    Integer = 3,
    Long = 4,
    Currency = 5,
    Single = 6,
    Double = 7,
    Date = 8,
    Binary = 9,
    Text = 10,
    LongBinary = 11,
    Memo = 12,
    Guid = 15,
};

// OLE DB type codes, the codes of the Access path.
enum class OleDbType : int {
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    Boolean = 11,
    TinyInt = 16,
    UnsignedTinyInt = 17,
    Guid = 72,
    Binary = 128,
    Numeric = 131,
    WChar = 202,
    LongWChar = 203,
    LongBinary = 205,
};

// How a filter value of a field is quoted in a where clause.
enum class ValueClass { None, Text, Number, Date, Yes };

// The display names of field type codes and the value class that follows from a name.
class FieldTypeNames
{
public:
    static QString name(TypePath path, int code);
    static QString accessName(int oleDbCode);
    static QString driverName(int jetType);
    // How a filter box quotes a value of a field with this type name (compared without
    // regard to case); unknown names give ValueClass::None.
    static ValueClass valueClass(const QString &typeName);
    // What a column of a type code holds, for the column's SQL type: every numeric type
    // (currency and byte too) is a Number, so that comparisons with text convert the text.
    static ValueClass storedClass(TypePath path, int code);
    // "<size> Byte"
    static QString sizeText(int size);
};
