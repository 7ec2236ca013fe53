#include "KeyedGridModel.h"

#include "SharedRoutines.h"

#include <QBrush>
#include <QFont>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace
{

const QString &emptyText()
{
    static const QString empty;
    return empty;
}

// Reorders one per-row vector by order (new position -> old position).
template <typename Container> void permute(Container &values, const std::vector<int> &order)
{
    if (values.empty())
        return;
    Container moved;
    moved.reserve(values.size());
    for (int from : order)
        moved.push_back(std::move(values[size_t(from)]));
    values = std::move(moved);
}

} // namespace

KeyedGridModel::KeyedGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void KeyedGridModel::setFormatText(const QString &format)
{
    beginResetModel();
    m_columns.clear();
    m_source.reset();
    m_lazyRows = 0;
    m_dataRows = 0;
    m_hidden.clear();
    m_outline.clear();
    for (const QString &part : format.split(QLatin1Char('|'))) {
        Cells cells;
        cells.info.caption = part.trimmed();
        cells.info.key = cells.info.caption;
        cells.info.widthChars = std::max(1, int(part.size()));
        m_columns.push_back(std::move(cells));
    }
    rebuildShown();
    endResetModel();
    Q_EMIT columnsLaidOut();
}

void KeyedGridModel::setColumnKeys(const QStringList &keys)
{
    for (int c = 0; c < columns() && c < keys.size(); ++c)
        m_columns[size_t(c)].info.key = keys[c];
}

int KeyedGridModel::addColumn(const QString &key, const QString &caption, int widthChars)
{
    const int position = columns();
    beginInsertColumns(QModelIndex(), position, position);
    Cells cells;
    cells.info.key = key;
    cells.info.caption = caption;
    cells.info.widthChars = widthChars;
    resizeCells(cells);
    m_columns.push_back(std::move(cells));
    endInsertColumns();
    Q_EMIT columnsLaidOut();
    return position;
}

int KeyedGridModel::column(const QString &key) const
{
    for (int c = 0; c < columns(); ++c) {
        if (m_columns[size_t(c)].info.key.compare(key, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

void KeyedGridModel::setColumnType(const QString &key, GridCellType type, const QString &format)
{
    const int c = column(key);
    if (c < 0)
        return;
    Cells &cells = m_columns[size_t(c)];
    cells.info.type = type;
    cells.info.format = format;
    cells.date.clear();
    resizeCells(cells);
    if (type == GridCellType::Date)
        renderDates(cells);
}

void KeyedGridModel::setColumnFormat(const QString &key, const QString &format)
{
    const int c = column(key);
    if (c < 0)
        return;
    Cells &cells = m_columns[size_t(c)];
    cells.info.format = format;
    if (cells.info.type == GridCellType::Date) {
        renderDates(cells);
        if (m_redraw && !m_shown.empty())
            Q_EMIT dataChanged(index(0, c), index(int(m_shown.size()) - 1, c));
    }
}

void KeyedGridModel::setColumnHidden(const QString &key, bool hidden)
{
    const int c = column(key);
    if (c < 0)
        return;
    m_columns[size_t(c)].info.hidden = hidden;
    Q_EMIT columnsLaidOut();
}

void KeyedGridModel::setColumnAlignment(const QString &key, Qt::Alignment alignment)
{
    const int c = column(key);
    if (c >= 0)
        m_columns[size_t(c)].info.alignment = alignment;
}

void KeyedGridModel::setFixedRows(int fixedRows)
{
    m_fixedRows = std::max(0, fixedRows);
}

void KeyedGridModel::clearRows()
{
    beginResetModel();
    m_source.reset();
    m_lazyRows = 0;
    for (Cells &cells : m_columns) {
        cells.text.clear();
        cells.date.clear();
        cells.dateTexts.clear();
        cells.background.clear();
    }
    m_hidden.clear();
    m_outline.clear();
    m_dataRows = 0;
    rebuildShown();
    m_dirty = false;
    endResetModel();
}

void KeyedGridModel::reserveRows(int count)
{
    for (Cells &cells : m_columns) {
        cells.text.reserve(count);
        if (cells.info.type == GridCellType::Date)
            cells.date.reserve(size_t(count));
    }
    m_hidden.reserve(size_t(count));
    m_outline.reserve(size_t(count));
    m_shown.reserve(size_t(count));
    m_viewRow.reserve(size_t(count));
}

int KeyedGridModel::appendRow()
{
    if (m_source)
        return -1;
    const int viewRow = int(m_shown.size());
    if (m_redraw)
        beginInsertRows(QModelIndex(), viewRow, viewRow);
    for (Cells &cells : m_columns) {
        cells.text.append(QString());
        if (cells.info.type == GridCellType::Date)
            cells.date.push_back(NoDate);
        if (!cells.background.empty())
            cells.background.push_back(0);
    }
    m_hidden.push_back(0);
    m_outline.push_back(0);
    m_viewRow.push_back(viewRow);
    m_shown.push_back(m_dataRows);
    ++m_dataRows;
    if (m_redraw)
        endInsertRows();
    return m_fixedRows + m_dataRows - 1;
}

int KeyedGridModel::appendRows(int count, const std::function<void(int row)> &fill)
{
    const int first = rows();
    if (count <= 0 || m_source)
        return first;
    const bool announce = m_redraw && !m_dirty;
    const int viewRow = int(m_shown.size());
    if (announce)
        beginInsertRows(QModelIndex(), viewRow, viewRow + count - 1);
    const bool wasOn = m_redraw;
    m_redraw = false;
    for (int i = 0; i < count; ++i)
        fill(appendRow());
    m_redraw = wasOn;
    if (announce)
        endInsertRows();
    return first;
}

bool KeyedGridModel::validCell(int row, int column) const
{
    // The model's own cells; in lazy mode it keeps none.
    return !m_source && isDataRow(row) && column >= 0 && column < columns();
}

void KeyedGridModel::resizeCells(Cells &cells) const
{
    cells.text.resize(m_dataRows);
    if (cells.info.type == GridCellType::Date)
        cells.date.resize(size_t(m_dataRows), NoDate);
    if (!cells.background.empty())
        cells.background.resize(size_t(m_dataRows), 0);
}

void KeyedGridModel::setText(int row, int column, const QString &text)
{
    if (!validCell(row, column))
        return;
    Cells &cells = m_columns[size_t(column)];
    if (cells.info.type == GridCellType::Date) {
        setDate(row, column, QDateTime::fromString(text, Qt::ISODate));
        return;
    }
    cells.text[dataIndex(row)] = text;
    changed(dataIndex(row), column);
}

void KeyedGridModel::setText(int row, const QString &key, const QString &text)
{
    setText(row, column(key), text);
}

QString KeyedGridModel::text(int row, const QString &key) const
{
    return textAt(row, column(key));
}

const QString &KeyedGridModel::textAt(int row, int column) const
{
    if (m_source) {
        if (!isDataRow(row) || column < 0 || column >= columns())
            return emptyText();
        m_lazyText = m_source->text(dataIndex(row), column);
        return m_lazyText;
    }
    if (!validCell(row, column))
        return emptyText();
    const Cells &cells = m_columns[size_t(column)];
    const int i = dataIndex(row);
    if (cells.info.type == GridCellType::Date && cells.text[i].isNull())
        cells.text[i] = dateText(cells, i);
    return cells.text[i];
}

void KeyedGridModel::setDate(int row, int column, const QDateTime &value)
{
    setDateKey(row, column, value.isValid() ? value.toMSecsSinceEpoch() : NoDate);
}

void KeyedGridModel::setDate(int row, const QString &key, const QDateTime &value)
{
    setDate(row, column(key), value);
}

void KeyedGridModel::setDateKey(int row, int column, qint64 msecsSinceEpoch)
{
    if (!validCell(row, column))
        return;
    Cells &cells = m_columns[size_t(column)];
    if (cells.info.type != GridCellType::Date)
        return;
    const int i = dataIndex(row);
    cells.date[size_t(i)] = msecsSinceEpoch;
    cells.text[i] = QString();
    changed(i, column);
}

qint64 KeyedGridModel::dateKey(int row, int column) const
{
    if (!validCell(row, column))
        return NoDate;
    const Cells &cells = m_columns[size_t(column)];
    return cells.info.type == GridCellType::Date ? cells.date[size_t(dataIndex(row))] : NoDate;
}

QDateTime KeyedGridModel::date(int row, const QString &key) const
{
    const qint64 value = dateKey(row, column(key));
    return value == NoDate ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value);
}

QString KeyedGridModel::dateText(const Cells &cells, int index) const
{
    const qint64 value = cells.date[size_t(index)];
    if (value == NoDate)
        return QStringLiteral("");
    if (!cells.dateOnly)
        return FormatDate(QDateTime::fromMSecsSinceEpoch(value), cells.info.format);
    // A format without a time of day gives one text for a whole quarter hour (every time
    // zone offset is a multiple of it): the text is made once and shared by its cells.
    constexpr qint64 Quarter = 15 * 60 * 1000;
    const qint64 bucket = value >= 0 ? value / Quarter : (value - Quarter + 1) / Quarter;
    auto known = cells.dateTexts.constFind(bucket);
    if (known == cells.dateTexts.constEnd())
        known = cells.dateTexts.insert(
            bucket, FormatDate(QDateTime::fromMSecsSinceEpoch(value), cells.info.format));
    return *known;
}

void KeyedGridModel::renderDates(Cells &cells)
{
    // Texts are made again on demand.
    for (QString &text : cells.text)
        text = QString();
    cells.dateTexts.clear();
    static const QRegularExpression timeOfDay(QStringLiteral("[hHmszaApt]"));
    cells.dateOnly = !cells.info.format.contains(timeOfDay);
}

bool KeyedGridModel::isRowHidden(int row) const
{
    return validCell(row, 0) && m_hidden[size_t(dataIndex(row))] != 0;
}

void KeyedGridModel::setRowHidden(int row, bool hidden)
{
    if (!validCell(row, 0) || (m_hidden[size_t(dataIndex(row))] != 0) == hidden)
        return;
    m_hidden[size_t(dataIndex(row))] = hidden ? 1 : 0;
    if (!m_redraw) {
        m_dirty = true;
        return;
    }
    beginResetModel();
    rebuildShown();
    endResetModel();
}

int KeyedGridModel::hideRows(const std::function<bool(int row)> &hide)
{
    if (m_source)
        return shownRows();
    beginResetModel();
    for (int i = 0; i < m_dataRows; ++i)
        m_hidden[size_t(i)] = hide(m_fixedRows + i) ? 1 : 0;
    rebuildShown();
    m_dirty = false;
    endResetModel();
    return shownRows();
}

void KeyedGridModel::showAllRows()
{
    hideRows([](int) { return false; });
}

int KeyedGridModel::firstShownRow() const
{
    if (m_source)
        return m_lazyRows > 0 ? m_fixedRows : -1;
    if (m_dirty) {
        for (int i = 0; i < m_dataRows; ++i) {
            if (!m_hidden[size_t(i)])
                return m_fixedRows + i;
        }
        return -1;
    }
    return m_shown.empty() ? -1 : m_fixedRows + m_shown.front();
}

void KeyedGridModel::rebuildShown()
{
    m_shown.clear();
    m_viewRow.assign(size_t(m_dataRows), -1);
    bool folded = false;
    for (int i = 0; i < m_dataRows; ++i) {
        const char outline = m_outline[size_t(i)];
        if (outline & Heading)
            folded = (outline & Collapsed) != 0;
        else if (folded)
            continue;
        if (!m_hidden[size_t(i)]) {
            m_viewRow[size_t(i)] = int(m_shown.size());
            m_shown.push_back(i);
        }
    }
}

void KeyedGridModel::setRowHeading(int row, bool heading)
{
    if (!validCell(row, 0) || isRowHeading(row) == heading)
        return;
    m_outline[size_t(dataIndex(row))] = heading ? Heading : 0;
    if (!m_redraw) {
        m_dirty = true;
        return;
    }
    beginResetModel();
    rebuildShown();
    endResetModel();
}

bool KeyedGridModel::isRowHeading(int row) const
{
    if (m_source)
        return isDataRow(row) && m_source->outlineLevel(dataIndex(row)) >= 0;
    return validCell(row, 0) && (m_outline[size_t(dataIndex(row))] & Heading) != 0;
}

void KeyedGridModel::setHeadingCollapsed(int row, bool collapsed)
{
    if (!isRowHeading(row) || isHeadingCollapsed(row) == collapsed)
        return;
    if (m_source) {
        setSourceHeadingCollapsed(dataIndex(row), collapsed);
        return;
    }
    m_outline[size_t(dataIndex(row))] = char(Heading | (collapsed ? Collapsed : 0));
    if (!m_redraw) {
        m_dirty = true;
        return;
    }
    beginResetModel();
    rebuildShown();
    endResetModel();
}

bool KeyedGridModel::isHeadingCollapsed(int row) const
{
    if (m_source)
        return isRowHeading(row) && m_source->isCollapsed(dataIndex(row));
    return isRowHeading(row) && (m_outline[size_t(dataIndex(row))] & Collapsed) != 0;
}

void KeyedGridModel::setCellBackground(int row, int column, const QColor &color)
{
    if (!validCell(row, column))
        return;
    Cells &cells = m_columns[size_t(column)];
    if (cells.background.empty()) {
        if (!color.isValid())
            return;
        cells.background.assign(size_t(m_dataRows), 0);
    }
    cells.background[size_t(dataIndex(row))] = color.isValid() ? (color.rgb() | 0xff000000u) : 0;
    changed(dataIndex(row), column);
}

QColor KeyedGridModel::cellBackground(int row, int column) const
{
    if (!validCell(row, column))
        return QColor();
    const Cells &cells = m_columns[size_t(column)];
    if (cells.background.empty())
        return QColor();
    const QRgb value = cells.background[size_t(dataIndex(row))];
    return value == 0 ? QColor() : QColor::fromRgb(value);
}

void KeyedGridModel::setRowBackground(int row, const QColor &color)
{
    const bool wasOn = m_redraw;
    m_redraw = false;
    for (int c = 0; c < columns(); ++c)
        setCellBackground(row, c, color);
    m_redraw = wasOn;
    if (m_redraw && validCell(row, 0)) {
        const int viewRow = m_viewRow[size_t(dataIndex(row))];
        if (viewRow >= 0)
            Q_EMIT dataChanged(index(viewRow, 0), index(viewRow, columns() - 1),
                               {Qt::BackgroundRole});
    }
}

void KeyedGridModel::sortByKey(const QString &key, Qt::SortOrder order)
{
    const int c = column(key);
    if (c < 0 || m_source || m_dataRows < 2)
        return;
    const Cells &by = m_columns[size_t(c)];
    const bool ascending = order == Qt::AscendingOrder;
    // Each row's sort key is packed beside its position, so the sort moves small records and
    // rarely looks at the cells themselves: dates by value, texts by their first sixteen
    // case-folded characters, the whole folded texts compared only when those are equal.
    struct Key {
        quint64 high;
        quint64 low;
        int row;
    };
    std::vector<Key> keys(static_cast<size_t>(m_dataRows));
    const bool dates = by.info.type == GridCellType::Date;
    std::vector<QString> folded(dates ? 0 : static_cast<size_t>(m_dataRows));
    for (int i = 0; i < m_dataRows; ++i) {
        Key &key = keys[size_t(i)];
        key.row = i;
        if (dates) {
            // Offset so that the signed order becomes the unsigned one.
            key.high = quint64(by.date[size_t(i)]) ^ (quint64(1) << 63);
            key.low = 0;
            continue;
        }
        folded[size_t(i)] = by.text[i].toCaseFolded();
        const QString &text = folded[size_t(i)];
        quint64 packed[2] = {0, 0};
        const qsizetype n = std::min<qsizetype>(text.size(), 16);
        for (qsizetype k = 0; k < n; ++k) {
            // One byte a character; a character past Latin-1 ends the key (FF, then zeros),
            // so that texts differing there are told apart by the whole comparison.
            const char16_t unit = text[k].unicode();
            packed[k / 8] |= quint64(std::min<char16_t>(unit, 0xFF)) << (56 - 8 * (k % 8));
            if (unit >= 0xFF)
                break;
        }
        key.high = packed[0];
        key.low = packed[1];
    }
    auto less = [&folded, dates](const Key &a, const Key &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        return !dates && folded[size_t(a.row)] < folded[size_t(b.row)];
    };
    if (ascending)
        std::stable_sort(keys.begin(), keys.end(), less);
    else
        std::stable_sort(keys.begin(), keys.end(),
                         [&less](const Key &a, const Key &b) { return less(b, a); });
    std::vector<int> position(static_cast<size_t>(m_dataRows));
    for (int i = 0; i < m_dataRows; ++i)
        position[size_t(i)] = keys[size_t(i)].row;
    beginResetModel();
    for (Cells &cells : m_columns) {
        permute(cells.text, position);
        permute(cells.date, position);
        permute(cells.background, position);
    }
    permute(m_hidden, position);
    permute(m_outline, position);
    rebuildShown();
    m_dirty = false;
    endResetModel();
}

void KeyedGridModel::setRedraw(bool on)
{
    if (m_redraw == on)
        return;
    m_redraw = on;
    if (on) {
        beginResetModel();
        rebuildShown();
        m_dirty = false;
        endResetModel();
    }
}

void KeyedGridModel::changed(int index, int column)
{
    if (!m_redraw)
        return;
    const int viewRow = m_viewRow[size_t(index)];
    if (viewRow >= 0)
        Q_EMIT dataChanged(this->index(viewRow, column), this->index(viewRow, column));
}

int KeyedGridModel::gridRow(const QModelIndex &index) const
{
    if (m_source)
        return index.isValid() && index.row() < m_lazyRows ? m_fixedRows + index.row() : -1;
    if (!index.isValid() || index.row() >= int(m_shown.size()))
        return -1;
    return m_fixedRows + m_shown[size_t(index.row())];
}

QModelIndex KeyedGridModel::indexOf(int row, int column) const
{
    if (m_source)
        return isDataRow(row) && column >= 0 && column < columns() ? index(dataIndex(row), column)
                                                                   : QModelIndex();
    if (!validCell(row, column) || m_dirty)
        return QModelIndex();
    const int viewRow = m_viewRow[size_t(dataIndex(row))];
    return viewRow < 0 ? QModelIndex() : index(viewRow, column);
}

int KeyedGridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_source ? m_lazyRows : int(m_shown.size());
}

int KeyedGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant KeyedGridModel::data(const QModelIndex &index, int role) const
{
    if (m_source)
        return lazyData(index, role);
    if (!index.isValid() || index.row() >= int(m_shown.size()) || index.column() >= columns())
        return QVariant();
    const Cells &cells = m_columns[size_t(index.column())];
    const int i = m_shown[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return textAt(m_fixedRows + i, index.column());
    case Qt::BackgroundRole:
        if (!cells.background.empty() && cells.background[size_t(i)] != 0)
            return QBrush(QColor::fromRgb(cells.background[size_t(i)]));
        return QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cells.info.alignment);
    case Qt::FontRole:
        if (m_outline[size_t(i)] & Heading) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags KeyedGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_source && index.isValid() && index.row() < m_lazyRows && index.column() < columns() &&
        m_source->isEditable(index.row(), index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool KeyedGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !m_source || !index.isValid() || index.row() >= m_lazyRows ||
        index.column() >= columns() ||
        !m_source->setText(index.row(), index.column(), value.toString()))
        return false;
    Q_EMIT dataChanged(index, index);
    return true;
}

QVariant KeyedGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns() ? m_columns[size_t(section)].info.caption
                                                   : QVariant();
    if (m_source)
        return section >= 0 && section < m_lazyRows ? m_fixedRows + section : QVariant();
    return section >= 0 && section < int(m_shown.size()) ? m_fixedRows + m_shown[size_t(section)]
                                                         : QVariant();
}

void KeyedGridModel::sort(int column, Qt::SortOrder order)
{
    if (column >= 0 && column < columns())
        sortByKey(m_columns[size_t(column)].info.key, order);
}

void KeyedGridModel::setRowSource(std::shared_ptr<GridRowSource> source)
{
    beginResetModel();
    for (Cells &cells : m_columns) {
        cells.text.clear();
        cells.date.clear();
        cells.dateTexts.clear();
        cells.background.clear();
    }
    m_hidden.clear();
    m_outline.clear();
    m_dataRows = 0;
    rebuildShown();
    m_dirty = false;
    m_source = std::move(source);
    m_lazyRows = m_source ? m_source->rowCount() : 0;
    endResetModel();
}

void KeyedGridModel::rowSourceAppended()
{
    if (!m_source)
        return;
    const int count = m_source->rowCount();
    if (count <= m_lazyRows) {
        rowSourceReset();
        return;
    }
    beginInsertRows(QModelIndex(), m_lazyRows, count - 1);
    m_lazyRows = count;
    endInsertRows();
}

void KeyedGridModel::rowSourceReset()
{
    beginResetModel();
    m_lazyRows = m_source ? m_source->rowCount() : 0;
    endResetModel();
}

void KeyedGridModel::setSourceHeadingCollapsed(int i, bool collapsed)
{
    // The source's rows under the heading enter or leave the views without a reset.
    const int children = m_source->childRows(i);
    if (children <= 0) {
        m_source->setCollapsed(i, collapsed);
        return;
    }
    if (collapsed) {
        beginRemoveRows(QModelIndex(), i + 1, i + children);
        m_source->setCollapsed(i, true);
        m_lazyRows -= children;
        endRemoveRows();
    } else {
        beginInsertRows(QModelIndex(), i + 1, i + children);
        m_source->setCollapsed(i, false);
        m_lazyRows += children;
        endInsertRows();
    }
}

QVariant KeyedGridModel::lazyData(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lazyRows || index.column() >= columns())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_source->text(index.row(), index.column());
    case Qt::BackgroundRole:
        if (m_headingBackground.isValid() && m_source->outlineLevel(index.row()) >= 0)
            return QBrush(m_headingBackground);
        return QVariant();
    case Qt::FontRole:
        if (m_source->outlineLevel(index.row()) >= 0) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[size_t(index.column())].info.alignment);
    default:
        return QVariant();
    }
}
