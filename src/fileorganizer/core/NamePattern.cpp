#include "NamePattern.h"

NamePattern::NamePattern(const QString &patterns)
{
    for (const QString &part : patterns.split(QLatin1Char(';'))) {
        QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        m_patterns.append(QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive));
    }
}

bool NamePattern::matches(const QString &fileName) const
{
    for (const QRegularExpression &pattern : m_patterns) {
        if (pattern.match(fileName).hasMatch())
            return true;
    }
    return false;
}
