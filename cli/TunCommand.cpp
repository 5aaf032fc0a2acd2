#include "cli/CliCommand.h"
#include "cli/KeyboardMappingArgument.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

namespace tv::cli {
namespace {

int tun(const Arguments& given)
{
    return runTuningExport(given, "tun needs a scale file and -o OUT.tun",
                           [](const Lattice& lattice, const KeyboardMapping& mapping) {
                               return anaMarkTuningText(keyTunings(KeyScale(lattice), mapping),
                                                        lattice.title());
                           });
}

const CliRegistration tunRegistration({
    "tun",
    "tun SCALE.scl [--kbm FILE] -o OUT.tun",
    "    Writes the tuning of every MIDI key as an AnaMark tuning file: the scale's pitches\n"
    "    in order of size within the octave, key 60 = 1/1 at middle C, or as the keyboard\n"
    "    mapping FILE places them. A key left unmapped keeps its equal-tempered pitch.\n",
    44,
    &tun,
});

}  // namespace
}  // namespace tv::cli
