#include "FailureSummary.h"

#include "Dialogs.h"

#include <QDir>

void FailureSummary::add(const QString &path, const QString &reason)
{
    m_failures.append({path, reason});
}

void FailureSummary::append(const FailureSummary &other)
{
    m_failures.append(other.m_failures);
}

QString FailureSummary::text(const QString &heading) const
{
    QString out = heading + QStringLiteral("\n");
    for (qsizetype i = 0; i < m_failures.size() && i < MaxListed; ++i) {
        const Failure &failure = m_failures[i];
        out +=
            u'\n' + QDir::toNativeSeparators(failure.path) + QStringLiteral(" - ") + failure.reason;
    }
    if (m_failures.size() > MaxListed)
        out += QStringLiteral("\n… and %1 more").arg(m_failures.size() - MaxListed);
    return out;
}

bool FailureSummary::report(const QString &heading, const QString &title)
{
    if (m_failures.isEmpty())
        return false;
    Dialogs::instance().message(text(heading), title, Dialogs::Icon::Warning);
    m_failures.clear();
    return true;
}
