#include "RowFilter.h"

#include <QDateTime>

namespace
{

const QString AnyExt = QStringLiteral("*.*");

} // namespace

RowFilter RowFilter::dateFilter(int days, const QString &extBox, const QString &category,
                                QDate today)
{
    RowFilter filter = extensionFilter(extBox, category);
    if (days <= 0 && !filter.m_anyExt) {
        filter.m_pass = Pass::None;
        return filter;
    }
    filter.m_days = std::max(0, days);
    // Today's midnight minus the span; the comparison keeps the time of day.
    filter.m_cutoff = today.addDays(-filter.m_days).startOfDay().toMSecsSinceEpoch();
    return filter;
}

RowFilter RowFilter::extensionFilter(const QString &extBox, const QString &category)
{
    RowFilter filter;
    filter.m_anyExt = extBox == AnyExt;
    filter.m_ext = extBox.mid(2);
    filter.m_category = category;
    return filter;
}

bool RowFilter::accepts(const QString &ext, const QString &group, qint64 dateMsecs) const
{
    if (m_pass == Pass::None)
        return true;
    if (!m_anyExt && ext.compare(m_ext, Qt::CaseInsensitive) != 0)
        return false;
    if (!m_category.isEmpty() && group != m_category)
        return false;
    return m_days == 0 || dateMsecs >= m_cutoff;
}

bool RowFilter::extensionMatches(const QString &ext, const QString &extBox)
{
    return extBox == AnyExt || ext.compare(extBox.mid(2), Qt::CaseInsensitive) == 0;
}
