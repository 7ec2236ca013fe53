#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// One row of the document catalogue nv_notesdairy1. A null string or an invalid date stands for
// a Null column; a row read back keeps Nulls as Nulls, so writing it again changes nothing it
// was not asked to change.
struct DocumentRecord {
    qint64 id = 0; // 0: not stored yet
    QString documentName;
    QDateTime date; // created
    QString category1;
    QString type;
    QDateTime mDate; // last save of the body (midnight of that day)
    std::optional<qint64> serialNo;
    QString ext;
    QString author;
    QString version;
    QString progress;
    QString flags;
    QString path;
    std::optional<qint64> bgcolor; // Windows RGB value
    QString docType;
    QString picFileLink;
    QString keyword;
    QDateTime dueDate;
    // The rich-text source of the body with each "'" replaced by "`", as other programs store it.
    QString content;
    bool current = false;
    QString userTemplate;
};
