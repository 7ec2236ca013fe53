#pragma once

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

class KeyedGridModel;

// Draws the document grid's cells the notebook's way: the DocType icon in the DocumentName
// cell (ApplyDocTypeIcons), and the rows whose document file is gone greyed. Whether a file
// exists is asked once per path and only for rows that are drawn, so a large catalogue never
// waits on the disk; forget() clears what it knows after a fill.
class DocumentDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    DocumentDelegate(KeyedGridModel *grid, QObject *parent = nullptr);

    void setIconsShown(bool shown) { m_icons = shown; }
    bool iconsShown() const { return m_icons; }
    void forget();
    // True when the row holds a document path whose file does not exist.
    bool isMissing(int row) const;
    static QColor missingColour();

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QIcon iconOf(const QString &docType) const;

    KeyedGridModel *m_grid;
    bool m_icons = false;
    mutable QHash<QString, bool> m_missing;
    mutable QHash<QString, QIcon> m_iconCache;
};
