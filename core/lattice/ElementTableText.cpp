#include "core/lattice/ElementTableText.h"

#include "core/lattice/ElementTable.h"

namespace tv {
namespace {

using Cell = std::string;

ElementTableCells titleCells()
{
    ElementTableCells titles;
    for (std::size_t c = 0; c < titles.size(); ++c)
        titles[c] = tableWindowTitles[c];
    return titles;
}

std::string tabCell(const Cell& cell)
{
    std::string text = cell;
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string csvCell(const Cell& cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string::npos)
        return cell;
    std::string text = "\"";
    for (const char c : cell) {
        if (c == '"')
            text += '"';
        text += c;
    }
    text += '"';
    return text;
}

template <typename CellText>
std::string joinRows(const std::vector<ElementTableCells>& rows, char separator,
                     const char* lineEnd, CellText cellText)
{
    std::string text;
    const auto addRow = [&](const ElementTableCells& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0)
                text += separator;
            text += cellText(cells[c]);
        }
        text += lineEnd;
    };
    addRow(titleCells());
    for (const ElementTableCells& row : rows)
        addRow(row);
    return text;
}

}  // namespace

std::string elementTableTabText(const std::vector<ElementTableCells>& rows)
{
    return joinRows(rows, '\t', "\n", tabCell);
}

std::string elementTableCsv(const std::vector<ElementTableCells>& rows)
{
    return joinRows(rows, ',', "\r\n", csvCell);
}

}  // namespace tv
