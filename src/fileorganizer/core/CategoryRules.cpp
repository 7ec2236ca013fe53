#include "CategoryRules.h"

#include "JetSql.h"
#include "Store.h"

namespace
{

// The extension taken literally inside a Jet pattern: wildcard characters are bracketed.
QString literalPattern(const QString &text)
{
    QString pattern;
    pattern.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('['))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return pattern;
}

} // namespace

CategoryRules::CategoryRules(const Store &store)
{
    QSqlQuery query =
        store.query(QStringLiteral("Select FolderType, Fileext, [Icon] from FileCategory"));
    while (query.next()) {
        m_categories.append(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    }
}

CategoryRules::CategoryRules(QList<Category> categories) : m_categories(std::move(categories)) {}

QString CategoryRules::groupOf(const QString &ext)
{
    if (ext.isEmpty())
        return others();
    const auto known = m_known.constFind(ext);
    if (known != m_known.constEnd())
        return *known;
    const QString pattern = QStringLiteral("**.") + literalPattern(ext) + QLatin1Char('*');
    QString group = others();
    for (const Category &category : std::as_const(m_categories)) {
        if (JetSql::like(category.fileExt, pattern)) {
            group = category.folderType;
            break;
        }
    }
    m_known.insert(ext, group);
    return group;
}

QStringList CategoryRules::extensionPatterns() const
{
    QStringList patterns;
    for (const Category &category : m_categories) {
        for (const QString &part : category.fileExt.split(QLatin1Char(','))) {
            const QString pattern = part.trimmed();
            if (!pattern.isEmpty() && !patterns.contains(pattern))
                patterns.append(pattern);
        }
    }
    return patterns;
}
