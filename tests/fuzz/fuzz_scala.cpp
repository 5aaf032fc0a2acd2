// Scala files: any text parses into a Scale without harm, loads into a lattice in each style,
// and what the lattice then writes reads back to the same pitches.
#include "FuzzCheck.h"

#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Scale scale = parseScala(text);
    FUZZ_CHECK(scale.ok() == scale.message.empty());
    FUZZ_CHECK(scale.pitches.size() <= Scale::maxPitches);
    for (const ScalaPitch& pitch : scale.pitches) {
        FUZZ_CHECK(pitch.kind != ScalaPitch::Kind::invalid);
        if (pitch.kind == ScalaPitch::Kind::ratio)
            FUZZ_CHECK(pitch.numerator > 0 && pitch.denominator > 0);
    }

    Lattice lattice;
    lattice.loadScale(scale);
    if (!scale.hasHeader()) {
        FUZZ_CHECK(lattice.count() == 0);
        return 0;
    }
    FUZZ_CHECK(lattice.count() == scale.pitches.size());
    for (int i = 0; i < lattice.count(); ++i) {
        FUZZ_CHECK(lattice.plotX(i) <= 1000 && lattice.plotY(i) <= 1000);
        (void)lattice.exponentText(i);
    }

    const Scale again = parseScala(scalaFileText(lattice.toScale(), "fuzz.scl"));
    FUZZ_CHECK(again.ok());
    FUZZ_CHECK(again.pitches.size() == scale.pitches.size());
    for (std::size_t i = 0; i < again.pitches.size(); ++i) {
        const ScalaPitch& before = scale.pitches[i];
        const ScalaPitch& after = again.pitches[i];
        FUZZ_CHECK(before.kind == after.kind);
        if (before.kind == ScalaPitch::Kind::ratio) {
            FUZZ_CHECK(before.numerator == after.numerator);
            FUZZ_CHECK(before.denominator == after.denominator);
        } else {
            // Written with six decimals.
            FUZZ_CHECK(std::fabs(before.cents - after.cents) <=
                       5e-7 * (1 + std::fabs(before.cents)));
        }
    }

    // Every style places every element again.
    for (int style = Lattice::planetaryStyle; style <= Lattice::maxStyle; ++style) {
        FUZZ_CHECK(lattice.setStyle(style) == style);
        for (int i = 0; i < lattice.count(); ++i)
            FUZZ_CHECK(lattice.plotX(i) <= 1000 && lattice.plotY(i) <= 1000);
    }
    return 0;
}
