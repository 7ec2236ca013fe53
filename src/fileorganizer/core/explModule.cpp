#include "explModule.h"

#include <QLocale>

#include <cmath>

QString Extension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

QString BaseName(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf('.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString FormatSizeText(qint64 size)
{
    if (size < 1024)
        return QString::number(size) + QStringLiteral("Byte");
    // Banker's rounding of size / 1024 in whole numbers.
    qint64 kb = size / 1024;
    const qint64 rest = size % 1024;
    if (rest > 512 || (rest == 512 && (kb % 2) == 1))
        ++kb;
    if (kb < 1024)
        return QString::number(kb) + QStringLiteral("Kb");
    // Two decimals, ties to even: work in hundredths of a megabyte.
    qint64 hundredths = kb * 100 / 1024;
    const qint64 remainder = kb * 100 % 1024;
    if (remainder * 2 > 1024 || (remainder * 2 == 1024 && (hundredths % 2) == 1))
        ++hundredths;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(double(hundredths) / 100.0, 'g', 15) + QStringLiteral("Mb");
}

QString AttributeText(int attributes)
{
    switch (attributes) {
    case 32: return QStringLiteral("A");
    case 33: return QStringLiteral("AR");
    case 34: return QStringLiteral("AH");
    case 35: return QStringLiteral("ARH");
    case 1: return QStringLiteral("R");
    case 3: return QStringLiteral("RH");
    case 2: return QStringLiteral("H");
    default: return QStringLiteral("S");
    }
}
