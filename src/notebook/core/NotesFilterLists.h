#pragma once

#include <QStringList>

class Store;

// The lists of the filter panel, filled from the distinct values of the catalogue
// (FillFilterLists). The window puts "All" before each list but the extensions.
struct NotesFilterLists {
    QStringList keywords; // every keyword once, in the order first met
    QStringList extensions;
    QStringList categories;
    QStringList flags;
    QStringList versions;

    static NotesFilterLists read(const Store &store);
};

// Appends text unless an entry equal to it (exactly, case included) is already there.
void AddUnique(QStringList &list, const QString &text);
