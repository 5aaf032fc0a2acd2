#include "cli/KeyboardMappingArgument.h"

#include "cli/ScaleFileArgument.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"

#include <iostream>

namespace tv::cli {

bool loadKeyboardMapping(const std::string& path, KeyboardMapping& mapping)
{
    const KeyboardMappingRead read = readKeyboardMappingFile(path);
    if (!read.ok) {
        std::cerr << read.message << '\n';
        return false;
    }
    mapping = read.mapping;
    return true;
}

bool loadKeyboardScale(const std::string& path, Lattice& lattice)
{
    if (path.empty()) {
        lattice.loadDefaultScale();
        return true;
    }
    return loadScale(path, lattice);
}

}  // namespace tv::cli
