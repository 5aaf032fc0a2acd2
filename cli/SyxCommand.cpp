#include "cli/CliCommand.h"
#include "cli/KeyboardMappingArgument.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

#include <iostream>

namespace tv::cli {
namespace {

int syx(const Arguments& given)
{
    return runTuningExport(
        given, "syx needs a scale file and -o OUT.syx",
        [](const Lattice& lattice, const KeyboardMapping& mapping) {
            const TuningDump dump =
                tuningDump(keyTunings(KeyScale(lattice), mapping), lattice.title());
            // Written all the same: the keys in range are what a scale of few degrees is played on.
            if (!dump.keysOutOfRange.empty())
                std::cerr << "tonalvane-cli: " << dump.keysOutOfRange.size()
                          << " key(s) sound beyond what a tuning dump can hold (key "
                          << dump.keysOutOfRange.front()
                          << " first); the dump gives them their equal-tempered pitch\n";
            return dump.bytes;
        });
}

const CliRegistration syxRegistration({
    "syx",
    "syx SCALE.scl [--kbm FILE] -o OUT.syx",
    "    Writes the same tuning as tun as a MIDI Tuning Standard bulk dump (tuning program 0,\n"
    "    named after the scale's description), for synthesizers that load .syx files.\n",
    45,
    &syx,
});

}  // namespace
}  // namespace tv::cli
