#include "FieldTypeNames.h"

QString FieldTypeNames::name(TypePath path, int code)
{
    return path == TypePath::Access ? accessName(code) : driverName(code);
}

QString FieldTypeNames::accessName(int oleDbCode)
{
    switch (static_cast<OleDbType>(oleDbCode)) {
    case OleDbType::SmallInt:
    case OleDbType::UnsignedTinyInt:
        return QStringLiteral("Numeric Integer");
    case OleDbType::Integer:
        return QStringLiteral("Numeric Long");
    case OleDbType::Single:
        return QStringLiteral("Numeric Single");
    case OleDbType::Double:
        return QStringLiteral("Numeric Double");
    case OleDbType::Currency:
        return QStringLiteral("Currency");
    case OleDbType::Date:
        return QStringLiteral("Date/Time");
    case OleDbType::Boolean:
        return QStringLiteral("Yes/No");
    case OleDbType::Numeric:
        return QStringLiteral("Numeric Decimal");
    case OleDbType::WChar:
        return QStringLiteral("Text");
    case OleDbType::LongWChar:
        return QStringLiteral("Memo");
    case OleDbType::LongBinary:
        return QStringLiteral("OLE Object");
    default:
        return {};
    }
}

QString FieldTypeNames::driverName(int jetType)
{
    switch (static_cast<JetType>(jetType)) {
    case JetType::Boolean:
        return QStringLiteral("Yes/No");
    case JetType::Byte:
        return QStringLiteral("Numeric Byte");
    case JetType::Integer:
        return QStringLiteral("Numeric Integer");
    case JetType::Long:
        return QStringLiteral("Numeric Long");
    case JetType::Currency:
        return QStringLiteral("Numeric Currency");
    case JetType::Single:
        return QStringLiteral("Numeric Single");
    case JetType::Double:
        return QStringLiteral("Numeric Double");
    case JetType::Date:
        return QStringLiteral("Date/Time");
    case JetType::Text:
        return QStringLiteral("Text");
    case JetType::LongBinary:
        return QStringLiteral("OLE Object");
    case JetType::Memo:
        return QStringLiteral("Memo");
    case JetType::Guid:
        return QStringLiteral("dbGUID");
    default:
        return {};
    }
}

ValueClass FieldTypeNames::valueClass(const QString &typeName)
{
    const QString lowered = typeName.toLower();
    if (lowered == QLatin1String("text") || lowered == QLatin1String("memo"))
        return ValueClass::Text;
    if (lowered == QLatin1String("numeric integer") || lowered == QLatin1String("numeric long") ||
        lowered == QLatin1String("numeric single") || lowered == QLatin1String("numeric double") ||
        lowered == QLatin1String("numeric decimal") || lowered == QLatin1String("currency"))
        return ValueClass::Number;
    if (lowered == QLatin1String("date/time"))
        return ValueClass::Date;
    if (lowered == QLatin1String("yes/no"))
        return ValueClass::Yes;
    return ValueClass::None;
}

ValueClass FieldTypeNames::storedClass(TypePath path, int code)
{
    if (path == TypePath::Access) {
        switch (static_cast<OleDbType>(code)) {
        case OleDbType::SmallInt:
        case OleDbType::Integer:
        case OleDbType::Single:
        case OleDbType::Double:
        case OleDbType::Currency:
        case OleDbType::TinyInt:
        case OleDbType::UnsignedTinyInt:
        case OleDbType::Numeric:
            return ValueClass::Number;
        default:
            return valueClass(accessName(code));
        }
    }
    switch (static_cast<JetType>(code)) {
    case JetType::Byte:
    case JetType::Integer:
    case JetType::Long:
    case JetType::Currency:
    case JetType::Single:
    case JetType::Double:
        return ValueClass::Number;
    default:
        return valueClass(driverName(code));
    }
}

QString FieldTypeNames::sizeText(int size)
{
    return QString::number(size) + QLatin1String(" Byte");
}
