#include "NotebookList.h"

#include "AppFolders.h"
#include "Dialogs.h"
#include "KeyedGridModel.h"
#include "ListDocument.h"
#include "NotesCatalogue.h"
#include "SharedRoutines.h"
#include "Store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString NotebookList::folder()
{
    return AppFolders::inUserFiles(QStringLiteral("NoteBook\\List"));
}

ListDocument NotebookList::fromGrid(const KeyedGridModel &grid, int fixedColumns, int charWidth)
{
    const int columns = std::max(1, grid.columns());
    const int rows = 1 + grid.dataRows();
    ListDocument list(rows, columns);
    list.setFixed(1, std::clamp(fixedColumns, 0, columns));
    for (int c = 0; c < grid.columns(); ++c) {
        const GridColumn &info = grid.columnInfo(c);
        list.setCell(0, c, info.caption);
        ListDocument::Column layout;
        layout.width = info.widthChars * charWidth;
        layout.hidden = info.hidden;
        layout.alignment = info.alignment & Qt::AlignHorizontal_Mask;
        list.setColumn(c, layout);
    }
    for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
        for (int c = 0; c < grid.columns(); ++c)
            list.setCell(1 + row - grid.fixedRows(), c, grid.textAt(row, c));
    }
    return list;
}

void NotebookList::toGrid(const ListDocument &list, KeyedGridModel &grid, int charWidth)
{
    QString format;
    QStringList keys;
    const bool captions = list.fixedRows() > 0;
    for (int c = 0; c < list.columns(); ++c) {
        const ListDocument::Column layout = list.column(c);
        const int width = layout.width > 0 ? std::max(1, layout.width / charWidth) : 10;
        QString caption = captions ? list.cell(0, c) : QString();
        caption.replace(u'|', u'/'); // "|" separates the format's columns
        format += (c ? QStringLiteral("|") : QString()) + caption.leftJustified(width);
        keys << QString::number(c);
    }
    grid.setFixedRows(1);
    grid.setFormatText(format);
    grid.setColumnKeys(keys);
    for (int c = 0; c < list.columns(); ++c) {
        const ListDocument::Column layout = list.column(c);
        grid.setColumnHidden(keys[c], layout.hidden);
        grid.setColumnAlignment(keys[c], layout.alignment | Qt::AlignVCenter);
    }
    const int first = captions ? 1 : 0;
    grid.appendRows(list.rows() - first, [&](int row) {
        const int source = first + row - grid.fixedRows();
        for (int c = 0; c < list.columns(); ++c)
            grid.setText(row, c, list.cell(source, c));
    });
}

std::optional<QString> NotebookList::Saveas(const KeyedGridModel &grid, const QString &proposedName,
                                            const Store &store)
{
    if (qint64(grid.dataRows() + 1) * std::max(1, grid.columns()) > ListDocument::MaxCells) {
        Dialogs::instance().message(
            QStringLiteral("The grid is too large for a notebook list: a list holds at most %L1 "
                           "cells.")
                .arg(ListDocument::MaxCells),
            QString(), Dialogs::Icon::Warning);
        return std::nullopt;
    }
    QDir().mkpath(folder());
    const QString start =
        proposedName.isEmpty() ? folder() : folder() + u'/' + FileNameOfPath(proposedName);
    QString path = Dialogs::instance().saveFileName(QStringLiteral("Save List"), start,
                                                    QStringLiteral("(*.nvs)|*.nvs"));
    if (path.isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().compare(QLatin1String("nvs"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".nvs");
    NotesCatalogue catalogue(store);
    const bool added = catalogue.addCreated(path, QStringLiteral("List"), QDate::currentDate());
    QString error;
    if (!fromGrid(grid).save(path, &error)) {
        if (added) {
            if (const std::optional<DocumentRecord> row = catalogue.byPath(path))
                catalogue.removeRow(row->id);
        }
        Dialogs::instance().message(QStringLiteral("The list cannot be saved:\n%1\n\n%2")
                                        .arg(QDir::toNativeSeparators(path), error),
                                    QString(), Dialogs::Icon::Critical);
        return std::nullopt;
    }
    if (!added) {
        // A list saved again under its old name: its text is indexed anew.
        if (const std::optional<DocumentRecord> row = catalogue.byPath(path))
            catalogue.reindex(*row);
    }
    Dialogs::instance().message(
        QStringLiteral("Save List as Nuvela Notebook file in category - undefined. To view file "
                       "open Nuvela Notebook Programm."),
        QString(), Dialogs::Icon::None);
    PlaySoundCue(SoundCue::Save);
    return path;
}
