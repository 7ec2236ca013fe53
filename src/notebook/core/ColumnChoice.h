#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class KeyedGridModel;
class Store;

// The user's choice of the optional grid columns, kept in Nv_nbShow (FldName, Show).
class ColumnChoice
{
public:
    struct Choice {
        QString field;
        bool show = true;
    };

    // The fields a choice may name: Type, Category1, SerialNo, Date, Path, mdate, Version,
    // Author, Progress and Flags.
    static QStringList fields();

    // The rows of "Select * from Nv_nbShow order by fldname" whose FldName is one of fields().
    static QList<Choice> read(const Store &store);
    // Stores one choice (replacing an earlier row of that field); false for other fields.
    static bool write(const Store &store, const QString &field, bool show);

    // ApplyColumnChoice: hides each chosen column whose Show is false, shows the others.
    static void ApplyColumnChoice(const Store &store, KeyedGridModel &grid);
};
