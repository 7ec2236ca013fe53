#include "RtfFieldInstruction.h"

QString RtfFieldInstruction::hyperlinkTarget() const
{
    const QString text = m_text.trimmed();
    static const QString keyword = QStringLiteral("HYPERLINK");
    if (!text.startsWith(keyword, Qt::CaseInsensitive))
        return {};
    QString rest = text.mid(keyword.size()).trimmed();
    if (rest.startsWith(u'"')) {
        // A quoted argument: \" and \\ stand for a quote and a backslash.
        QString target;
        for (qsizetype i = 1; i < rest.size() && rest[i] != u'"'; ++i) {
            if (rest[i] == u'\\' && i + 1 < rest.size())
                ++i;
            target += rest[i];
        }
        return target;
    }
    if (rest.startsWith(u'\\'))
        return {};
    return rest.section(u' ', 0, 0);
}
