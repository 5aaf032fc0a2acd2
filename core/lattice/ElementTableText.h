#pragma once

#include <array>
#include <string>
#include <vector>

namespace tv {

// One row of cells of the table window.
using ElementTableCells = std::array<std::string, 13>;

// The column titles and the given rows as text to paste: cells separated by tabs, each row
// ended by a line feed. A tab or line end inside a cell becomes a blank so the columns hold.
std::string elementTableTabText(const std::vector<ElementTableCells>& rows);

// The column titles and the given rows as comma-separated values: a cell holding a comma, a
// double quote or a line end is put in double quotes with its quotes doubled, and every row
// ends with CR LF. The cells are taken as they are; the table's numbers are written without
// the user's locale, so decimals always have a dot.
std::string elementTableCsv(const std::vector<ElementTableCells>& rows);

}  // namespace tv
