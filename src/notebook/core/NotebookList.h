#pragma once

#include <QString>

#include <optional>

class KeyedGridModel;
class ListDocument;
class Store;

// Grids as notebook list documents (".nvs", ListDocument): a keyed grid's cells and column
// layout to a list and back, and the list save "Saveas" that the Database utility and the
// notebook use to file a grid under the notebook.
class NotebookList
{
public:
    // The default folder of list documents under the user files.
    static QString folder();

    // The grid's columns and rows, hidden ones included, with its captions as the first (fixed)
    // row and fixedColumns leading heading columns; column widths in pixels at charWidth pixels
    // a character, hidden flags, alignments.
    static ListDocument fromGrid(const KeyedGridModel &grid, int fixedColumns = 0,
                                 int charWidth = 8);
    // Fills grid from list: the first fixed row gives the captions (other fixed rows become data
    // rows, so nothing is lost), the rest the data rows; widths back in characters.
    static void toGrid(const ListDocument &list, KeyedGridModel &grid, int charWidth = 8);

    // "Saveas": asks for a file in the list folder (proposedName as its name), adds the
    // notebook row (DocType "List", the file's name, its path, category "Undefined", today),
    // writes the list, shows "Save List as Nuvela Notebook file in category - undefined. To
    // view file open Nuvela Notebook Programm." and plays the save cue. Returns the path, or
    // nothing when cancelled or when the file could not be written (a message says why; a row
    // made for it is taken back). A path that has a row already keeps its row.
    static std::optional<QString> Saveas(const KeyedGridModel &grid, const QString &proposedName,
                                         const Store &store);
};
