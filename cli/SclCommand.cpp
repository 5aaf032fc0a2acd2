#include "cli/CliCommand.h"
#include "cli/ScaleFileArgument.h"
#include "core/lattice/Lattice.h"

namespace tv::cli {
namespace {

int runScl(const Arguments& args)
{
    if (args.size() != 2)
        return usageError("scl needs a scale file to read and one to write");
    Lattice lattice;
    return loadScale(args[0], lattice) && saveScale(args[1], lattice) ? exitOk : exitFailed;
}

const CliRegistration sclRegistration({
    "scl",
    "scl IN.scl OUT.scl",
    "    Reads a scale file and writes it again as Tonalvane saves scales.\n",
    42,
    runScl,
});

}  // namespace
}  // namespace tv::cli
