#include "ui/lattice/ElementReadout.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/LatticeElement.h"
#include "core/pitch/NoteBend.h"
#include "core/pitch/NumberText.h"
#include "core/pitch/Ratio.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace tv {
namespace {

std::uint32_t oddPart(std::uint32_t v)
{
    if (v == 0)
        return 0;
    while (v % 2 == 0)
        v /= 2;
    return v;
}

std::uint32_t largestOddPrime(std::uint32_t v)
{
    v = oddPart(v);
    std::uint32_t largest = 1;
    for (std::uint32_t p = 3; v > 1 && p <= v / p; p += 2) {
        while (v % p == 0) {
            v /= p;
            largest = p;
        }
    }
    return v > 1 ? std::max(largest, v) : largest;
}

// n/d in lowest terms; 0/d stays as it is.
void reduce(std::uint32_t& n, std::uint32_t& d)
{
    const std::uint32_t g = std::gcd(n, d);
    if (g > 1) {
        n /= g;
        d /= g;
    }
}

void appendNote(std::string& text, const NoteBend& pitch)
{
    text += "MIDI note " + std::to_string(pitch.note);
    const std::string name = noteName(pitch.note);
    text += name.empty() ? " (outside 0..127)" : " (" + name + ")";
    text += ", bend " + std::to_string(pitch.bend);
}

}  // namespace

std::uint32_t oddLimit(std::uint32_t numerator, std::uint32_t denominator)
{
    if (numerator == 0)
        return 0;
    reduce(numerator, denominator);
    return std::max(oddPart(numerator), oddPart(denominator));
}

std::uint32_t primeLimit(std::uint32_t numerator, std::uint32_t denominator)
{
    if (numerator == 0)
        return 0;
    reduce(numerator, denominator);
    return std::max(largestOddPrime(numerator), largestOddPrime(denominator));
}

std::string noteName(int note)
{
    if (note < 0 || note > 127)
        return {};
    static constexpr std::array<const char*, 12> names{"C",  "C#", "D",  "D#", "E",  "F",
                                                       "F#", "G",  "G#", "A",  "A#", "B"};
    return names[static_cast<std::size_t>(note % 12)] + std::to_string(note / 12 - 1);
}

std::string elementReadout(const LatticeElement& element, int baseNote)
{
    std::string text;
    if (!element.name.empty())
        text = displayText(element.name) + '\n';
    if (!element.isRatio()) {
        text += "Cents " + formatFixed(element.cents, 3) + " (no ratio)\n";
        appendNote(text, noteForCents(baseNote, element.octave, element.cents));
        return text;
    }
    const std::uint32_t n = element.numerator;
    const std::uint32_t d = element.denominator;
    text += "Ratio " + std::to_string(n) + '/' + std::to_string(d) + '\n';
    text += "Cents " + formatFixed(ratioCents(n, d), 3) + '\n';
    text += "Odd limit " + std::to_string(oddLimit(n, d)) + ", prime limit " +
            std::to_string(primeLimit(n, d)) + '\n';
    // Worked out from the ratio: the element's own exponents are zero outside the lattice
    // style.
    LatticeElement analysed;
    factorise(analysed, n, 1);
    factorise(analysed, d, -1);
    text += "Exponents";
    for (std::size_t i = 0; i < primeTable.size(); ++i)
        text += ' ' + std::to_string(primeTable[i]) + ':' + std::to_string(analysed.exponents[i]);
    text += '\n';
    appendNote(text, noteForRatio(baseNote, element.octave, n, d));
    return text;
}

}  // namespace tv
