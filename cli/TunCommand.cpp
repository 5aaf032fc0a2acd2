#include "cli/CliCommand.h"
#include "cli/KeyboardMappingArgument.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningExport.h"

#include <iostream>

namespace tv::cli {
namespace {

int tun(const Arguments& given)
{
    Arguments args = given;
    std::string mappingPath;
    std::string output;
    if (!takeStringOption(args, "--kbm", mappingPath) || !takeStringOption(args, "-o", output))
        return exitUsage;
    if (args.size() != 1 || output.empty())
        return usageError("tun needs a scale file and -o OUT.tun");

    Lattice lattice;
    KeyboardMapping mapping;
    if (!loadKeyboardScale(args[0], lattice) ||
        (!mappingPath.empty() && !loadKeyboardMapping(mappingPath, mapping)))
        return exitFailed;
    const KeyTunings tunings = keyTunings(KeyScale(lattice), mapping);
    const FileResult written = writeTuningFile(output, anaMarkTuningText(tunings, lattice.title()));
    if (!written.ok) {
        std::cerr << written.message << '\n';
        return exitFailed;
    }
    return exitOk;
}

const CliRegistration registration({
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
