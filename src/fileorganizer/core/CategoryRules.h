#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Store;

// The categories of FILECATEGORY as the catalogue assigns them. The category of an extension is
// the FolderType of the first row whose Fileext list matches the Jet pattern "**.<ext>*" (so
// ".do" finds ".doc"); an empty extension, or one no row matches, is "Others". Each extension is
// worked out once and remembered.
class CategoryRules
{
public:
    struct Category {
        QString folderType;
        QString fileExt;
        QString icon;
    };

    CategoryRules() = default;
    // Reads the rows of FILECATEGORY in the store's order.
    explicit CategoryRules(const Store &store);
    explicit CategoryRules(QList<Category> categories);

    static QString others() { return QStringLiteral("Others"); }

    QString groupOf(const QString &ext);
    const QList<Category> &categories() const { return m_categories; }
    // Every pattern of every Fileext list, split at "," and trimmed, in row order, each once.
    QStringList extensionPatterns() const;

private:
    QList<Category> m_categories;
    QHash<QString, QString> m_known;
};
