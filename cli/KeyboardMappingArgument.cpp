#include "cli/KeyboardMappingArgument.h"

#include "cli/ScaleFileArgument.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/TuningFile.h"

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

int runTuningExport(
    const Arguments& given, const char* usage,
    const std::function<std::string(const Lattice&, const KeyboardMapping&)>& exportText)
{
    Arguments args = given;
    std::string mappingPath;
    std::string output;
    if (!takeStringOption(args, "--kbm", mappingPath) || !takeStringOption(args, "-o", output))
        return exitUsage;
    if (args.size() != 1 || output.empty())
        return usageError(usage);

    Lattice lattice;
    KeyboardMapping mapping;
    if (!loadKeyboardScale(args[0], lattice) ||
        (!mappingPath.empty() && !loadKeyboardMapping(mappingPath, mapping)))
        return exitFailed;
    const FileResult written = writeTuningFile(output, exportText(lattice, mapping));
    if (!written.ok) {
        std::cerr << written.message << '\n';
        return exitFailed;
    }
    return exitOk;
}

}  // namespace tv::cli
