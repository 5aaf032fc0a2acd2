#include "core/lattice/ElementTable.h"

#include "core/lattice/Lattice.h"
#include "core/pitch/NoteBend.h"
#include "core/pitch/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tv {
namespace {

std::string wholeText(long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

double elementComplexity(unsigned plotX, unsigned plotY)
{
    const double x = plotX;
    const double y = plotY;
    const double underRoot = (x * x + y * y) - 3.141592654 * x * y;
    if (underRoot < 0.0)
        return -std::numeric_limits<double>::quiet_NaN();
    return std::sqrt(underRoot);
}

std::string higherPrimesCell(const Lattice& lattice, int index)
{
    const LatticeElement* e = lattice.element(index);
    if (!e || !e->isRatio())
        return "-";
    LatticeElement analysed;
    factorise(analysed, e->numerator, +1);
    factorise(analysed, e->denominator, -1);
    const std::string text = higherPrimeText(analysed);
    return text.empty() ? "-" : text;
}

std::array<std::string, 11> elementTableRow(const Lattice& lattice, int index)
{
    std::array<std::string, 11> row;
    const LatticeElement* e = lattice.element(index);
    if (!e)
        return row;
    const double cents = e->isRatio() ? ratioCents(e->numerator, e->denominator) : e->cents;
    const NoteBend pitch = e->isRatio()
                               ? noteForRatio(elementTableBaseNote, 0, e->numerator, e->denominator)
                               : noteForCents(elementTableBaseNote, 0, e->cents);
    row[0] = wholeText(e->numerator) + ":" + wholeText(e->denominator);
    row[1] = formatFixed(cents, 3);
    row[2] = exponentText(*e);
    row[3] = formatFixed(elementComplexity(e->plotX, e->plotY), 6);
    row[4] = wholeText(e->limit);
    row[5] = wholeText(e->oLimit);
    row[6] = wholeText(e->uLimit);
    row[7] = wholeText(pitch.note);
    row[8] = wholeText(pitch.bend);
    row[9] = wholeText(pitch.bendMsb);
    row[10] = wholeText(pitch.bendLsb);
    return row;
}

}  // namespace tv
