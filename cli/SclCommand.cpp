#include "cli/CliCommand.h"
#include "lattice/Lattice.h"

#include <iostream>

namespace tv::cli {
namespace {

void printMessage(const std::string& message)
{
    std::cerr << message << (message.ends_with('\n') ? "" : "\n");
}

int runScl(const Arguments& args)
{
    if (args.size() != 2)
        return usageError("scl needs a scale file to read and one to write");
    Lattice lattice;
    const FileResult read = lattice.readScala(args[0]);
    if (!read.ok) {
        printMessage(read.message);
        return exitFailed;
    }
    const FileResult written = lattice.writeScala(args[1]);
    if (!written.ok) {
        printMessage(written.message);
        return exitFailed;
    }
    return exitOk;
}

const CliRegistration registration({
    "scl",
    "scl IN.scl OUT.scl",
    "    Reads a scale file and writes it again as Tonalvane saves scales.\n",
    42,
    runScl,
});

}  // namespace
}  // namespace tv::cli
