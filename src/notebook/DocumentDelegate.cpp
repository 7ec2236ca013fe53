#include "DocumentDelegate.h"

#include "DocTypeIcons.h"
#include "KeyedGridModel.h"
#include "ThemeIcon.h"

#include <QFileInfo>

DocumentDelegate::DocumentDelegate(KeyedGridModel *grid, QObject *parent)
    : QStyledItemDelegate(parent), m_grid(grid)
{
}

void DocumentDelegate::forget()
{
    m_missing.clear();
}

QColor DocumentDelegate::missingColour()
{
    return QColor(0x9a, 0xa4, 0xae);
}

bool DocumentDelegate::isMissing(int row) const
{
    if (m_grid->isRowHeading(row))
        return false;
    const QString path = m_grid->text(row, QStringLiteral("path"));
    if (path.isEmpty())
        return false;
    auto known = m_missing.constFind(path);
    if (known == m_missing.constEnd())
        known = m_missing.insert(path, !QFileInfo::exists(path));
    return *known;
}

QIcon DocumentDelegate::iconOf(const QString &docType) const
{
    auto known = m_iconCache.constFind(docType);
    if (known == m_iconCache.constEnd())
        known = m_iconCache.insert(docType, ThemeIcon::get(DocTypeIcons::of(docType).themeIcon));
    return *known;
}

void DocumentDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const int row = m_grid->gridRow(index);
    if (row < 0)
        return;
    const QString key = m_grid->columnInfo(index.column()).key;
    if (m_icons && key.compare(QLatin1String("DocumentName"), Qt::CaseInsensitive) == 0 &&
        m_grid->column(QStringLiteral("DocType")) >= 0) {
        option->icon = iconOf(m_grid->text(row, QStringLiteral("DocType")));
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
    if (isMissing(row)) {
        option->palette.setColor(QPalette::Text, missingColour());
        option->font.setItalic(true);
    }
}
