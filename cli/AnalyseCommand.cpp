#include "cli/CliCommand.h"
#include "cli/PitchArgument.h"
#include "core/lattice/LatticeElement.h"
#include "core/pitch/NoteBend.h"
#include "core/pitch/NumberText.h"

#include <algorithm>
#include <iostream>

namespace tv::cli {
namespace {

constexpr int baseNote = 60;

int analyse(const Arguments& given)
{
    Arguments args = given;
    long long octave = 0;
    if (!takeIntOption(args, "--octave", octave, -20, 20))
        return exitUsage;
    std::string centsText;
    const bool centsGiven = std::find(args.begin(), args.end(), "--cents") != args.end();
    if (!takeStringOption(args, "--cents", centsText))
        return exitUsage;
    if (args.size() != (centsGiven ? 0u : 1u))
        return usageError("analyse takes one pitch: N/D, or --cents C");

    LatticeElement element;
    NoteBend pitch;
    std::string label;
    if (centsGiven) {
        const auto cents = parseDouble(centsText);
        if (!cents)
            return usageError("'" + centsText + "' is not a number of cents");
        element.cents = *cents;
        label = "0/0";
        pitch = noteForCents(baseNote, static_cast<int>(octave), element.cents);
    } else {
        std::string reason;
        const auto parsed = parsePitch(args[0], reason);
        if (!parsed || !parsed->isRatio)
            return usageError(parsed ? "analyse takes cents as --cents C" : reason);
        element.numerator = parsed->numerator;
        element.denominator = parsed->denominator;
        factorise(element, element.numerator, +1);
        factorise(element, element.denominator, -1);
        label = std::to_string(element.numerator) + "/" + std::to_string(element.denominator);
        pitch = noteForRatio(baseNote, static_cast<int>(octave), element.numerator,
                             element.denominator);
    }
    computeLimits(element);
    const double cents =
        element.isRatio() ? ratioCents(element.numerator, element.denominator) : element.cents;
    std::cout << label << '\t' << formatFixed(cents, 6) << '\t' << exponentText(element) << '\t'
              << element.oLimit << '\t' << element.uLimit << '\t' << element.limit << '\t'
              << pitch.note << '\t' << pitch.bend << '\t' << int(pitch.bendMsb) << '\t'
              << int(pitch.bendLsb) << '\t'
              << (higherPrimeText(element).empty() ? "-" : higherPrimeText(element)) << '\n';
    return exitOk;
}

const CliRegistration analyseRegistration({
    "analyse",
    "analyse N/D [--octave K] | analyse --cents C [--octave K]",
    "    One tab-separated line: the pitch (0/0 for cents), its size in cents, the exponents\n"
    "    of 3 5 7 11 13, oLimit, uLimit, limit, and the MIDI note, bend, bend MSB and bend LSB\n"
    "    that sound it above base note 60, K octaves up or down, and the primes above 13 with\n"
    "    their exponents (\"17:1 19:-1\", or \"-\").\n",
    10,
    &analyse,
});

}  // namespace
}  // namespace tv::cli
