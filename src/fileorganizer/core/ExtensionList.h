#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The entries of the extension box (ComboExtItem): "*.*" first, then "*." and the upper-cased
// extension of each row in row order, each once; with a category other than "All" or blank
// only rows of that category count.
class ExtensionList
{
public:
    explicit ExtensionList(const QString &category = QString());

    void add(const QString &ext, const QString &group);
    const QStringList &items() const { return m_items; }

private:
    QString m_category;
    QStringList m_items;
    QSet<QString> m_seen;
};
