#pragma once

class KeyedGridModel;

// The blank list sheet of a new list document.
namespace ListSheet
{

constexpr int Rows = 500;   // the fixed heading row included
constexpr int Columns = 50; // the fixed heading column included

// Prepares grid as a blank list sheet: Rows rows and Columns columns, one fixed row and one
// fixed column. The fixed row's cells (the captions) read "C1" to "C49" over columns 1 to 49,
// the fixed column reads "R1" to "R499" in rows 1 to 499; every other cell is empty.
void ListSheetSetup(KeyedGridModel &grid);

} // namespace ListSheet
