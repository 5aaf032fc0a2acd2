#include "cli/CliCommand.h"
#include "cli/ScaleFileArgument.h"
#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"

#include <iostream>

namespace tv::cli {
namespace {

int runTable(const Arguments& args)
{
    if (args.size() != 1)
        return usageError("table needs exactly one scale file");
    Lattice lattice;
    if (!loadScale(args[0], lattice))
        return exitFailed;
    std::string text;
    for (std::size_t c = 0; c < elementTableTitles.size(); ++c)
        text += std::string(c ? "\t" : "") + elementTableTitles[c];
    text += std::string("\t") + higherPrimesTitle + '\n';
    for (int i = 0; i < lattice.count(); ++i) {
        const auto row = elementTableRow(lattice, i);
        for (std::size_t c = 0; c < row.size(); ++c)
            text += (c ? "\t" : "") + row[c];
        text += '\t' + higherPrimesCell(lattice, i) + '\n';
    }
    std::cout << text;
    return exitOk;
}

const CliRegistration tableRegistration({
    "table",
    "table FILE.scl",
    "    Lists the pitches of a scale file as the table window shows them: ratio, cents,\n"
    "    exponents, complexity, limits, the MIDI note and bend above note 60, and the primes\n"
    "    above 13 with their exponents (\"-\" when there is none).\n",
    40,
    runTable,
});

}  // namespace
}  // namespace tv::cli
