#include "cli/CliCommand.h"
#include "cli/KeyboardMappingArgument.h"
#include "core/lattice/Lattice.h"
#include "core/pitch/NumberText.h"
#include "core/tuning/KeyboardMapping.h"

#include <iostream>

namespace tv::cli {
namespace {

int kbm(const Arguments& given)
{
    Arguments args = given;
    std::string scalePath;
    std::string savePath;
    if (!takeStringOption(args, "--scale", scalePath) ||
        !takeStringOption(args, "--save", savePath))
        return exitUsage;
    if (args.size() != 1)
        return usageError("kbm needs one keyboard mapping file");

    KeyboardMapping mapping;
    Lattice lattice;
    if (!loadKeyboardMapping(args[0], mapping) || !loadKeyboardScale(scalePath, lattice))
        return exitFailed;
    const KeyScale scale(lattice);
    for (int key = mapping.firstKey; key <= mapping.lastKey; ++key) {
        std::cout << key << '\t';
        const auto degree = mapping.keyDegree(key);
        if (degree)
            std::cout << *degree << '\t' << formatFixed(scale.pitch(*degree).cents, 6) << '\n';
        else
            std::cout << "x\tx\n";
    }
    if (!savePath.empty()) {
        const FileResult written = writeKeyboardMappingFile(mapping, savePath);
        if (!written.ok) {
            std::cerr << written.message << '\n';
            return exitFailed;
        }
    }
    return exitOk;
}

const CliRegistration kbmRegistration({
    "kbm",
    "kbm FILE.kbm [--scale SCALE.scl] [--save OUT.kbm]",
    "    Lists the keys a keyboard mapping maps or leaves unmapped, one line each: the key,\n"
    "    the scale degree it plays (0 on the middle key, negative below it) or x, and the\n"
    "    cents above 1/1 that it sounds with SCALE (by default the twelve-note scale of a\n"
    "    new lattice) or x. --save writes the mapping again as Tonalvane saves mappings.\n",
    43,
    &kbm,
});

}  // namespace
}  // namespace tv::cli
