#pragma once

#include <cstdint>
#include <string>

namespace tv {

struct LatticeElement;

// "C4" for note 60, "F#-1" for 6, "G9" for 127; empty outside 0..127.
std::string noteName(int note);

// What the lattice window shows while the pointer rests on an element, one line each: its
// name (when it has one), ratio, size in cents with three decimals, odd and prime limits,
// the exponents of 3, 5, 7, 11 and 13 of the ratio and of each larger prime in it, and the MIDI
// note and pitch bend it sounds with when `baseNote` sounds 1/1. A cents-only element has no ratio,
// limits or exponents: it shows its name, cents, note and bend.
std::string elementReadout(const LatticeElement& element, int baseNote);

}  // namespace tv
