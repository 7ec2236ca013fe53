#pragma once

#include <QDate>
#include <QString>

// Which rows of the file grid a filter box leaves shown. A filter never reads the disk or the
// catalogue: it looks at a row's Ext, Group and one date cell.
class RowFilter
{
public:
    enum class Pass {
        Rows, // decide row by row with accepts()
        None  // make no pass: every row keeps its present state
    };

    // ApplyDateFilter: days 0 means no date condition; category empty means no category
    // condition; extBox is the text of the extension box ("*.*" or "*.EXT"). With no date
    // condition and an extension other than "*.*" no pass is made at all. today is the
    // cutoff's day (the cutoff is its midnight minus days).
    static RowFilter dateFilter(int days, const QString &extBox, const QString &category,
                                QDate today = QDate::currentDate());
    // The extension box: "*.*" keeps every row, else only rows of that extension; with a
    // category only rows of it.
    static RowFilter extensionFilter(const QString &extBox, const QString &category);

    Pass pass() const { return m_pass; }
    // Whether a row stays shown. dateMsecs is the row's date cell in milliseconds since the
    // epoch; an empty cell (any value below every date, such as the grid's NoDate) fails a
    // date condition.
    bool accepts(const QString &ext, const QString &group, qint64 dateMsecs) const;
    bool hasDateCondition() const { return m_days > 0; }
    qint64 cutoffMsecs() const { return m_cutoff; }

    // The extension condition alone: extBox is "*.*", or ext equals its text from the third
    // character on, without regard to case.
    static bool extensionMatches(const QString &ext, const QString &extBox);

private:
    Pass m_pass = Pass::Rows;
    int m_days = 0;
    qint64 m_cutoff = 0;
    bool m_anyExt = true;
    QString m_ext;
    QString m_category;
};
