#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

// File-name patterns of the search: wildcards (* any run, ? one character), several separated
// by ";", compared without regard to case. "*.*" means every name, with or without a dot. An
// empty text matches nothing.
class NamePattern
{
public:
    explicit NamePattern(const QString &patterns = QString());

    bool isEmpty() const { return m_patterns.isEmpty(); }
    bool matches(const QString &fileName) const;

private:
    QList<QRegularExpression> m_patterns;
};
