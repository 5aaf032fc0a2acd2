#pragma once

#include <array>
#include <string>

namespace tv {

class Lattice;

// Rows of the table of lattice elements, shared by the table window and tonalvane-cli.
inline constexpr std::array<const char*, 11> elementTableTitles{
    "Ratio",  "Cents", "Exponents", "Complexity", "Limit",    "OLimit",
    "ULimit", "Note",  "Bend",      "Bend MSB",   "Bend LSB",
};

// The title of the column of the primes above 13, after the others in tonalvane-cli.
inline constexpr const char* higherPrimesTitle = "Higher primes";

// The higher primes of the element at `index` as "17:1 19:-1", worked out from its ratio
// whatever the layout style; "-" when there is none (cents-only elements among them).
std::string higherPrimesCell(const Lattice& lattice, int index);

// The MIDI note that sounds 1/1 in the table's note columns.
inline constexpr int elementTableBaseNote = 60;

// How far an element sits from the plot's corners: sqrt(x^2 + y^2 - 3.141592654 x y) of its
// plot position. The value under the root is negative for positions near the diagonal, and
// the result is then a NaN with its sign bit set, on every machine.
double elementComplexity(unsigned plotX, unsigned plotY);

// The eleven cells of the element at `index`; all empty out of range. The note columns
// ignore the element's own octave.
std::array<std::string, 11> elementTableRow(const Lattice& lattice, int index);

}  // namespace tv
