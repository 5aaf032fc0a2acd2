#include "core/lattice/ElementReadout.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/LatticeElement.h"
#include "core/pitch/NoteBend.h"
#include "core/pitch/NumberText.h"
#include "core/pitch/Ratio.h"

#include <array>

namespace tv {
namespace {

void appendNote(std::string& text, const NoteBend& pitch)
{
    text += "MIDI note " + std::to_string(pitch.note);
    const std::string name = noteName(pitch.note);
    text += name.empty() ? " (outside 0..127)" : " (" + name + ")";
    text += ", bend " + std::to_string(pitch.bend);
}

}  // namespace

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
    if (!analysed.higherPrimes.empty())
        text.append(1, ' ').append(higherPrimeText(analysed));
    text += '\n';
    appendNote(text, noteForRatio(baseNote, element.octave, n, d));
    return text;
}

}  // namespace tv
