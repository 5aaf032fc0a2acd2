#include "cli/CliCommand.h"
#include "cli/ScaleFileArgument.h"
#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"

#include <charconv>
#include <iostream>

namespace tv::cli {
namespace {

void appendWhole(std::string& out, unsigned value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

int runLayout(const Arguments& arguments)
{
    Arguments args = arguments;
    long long style = -1;
    if (!takeIntOption(args, "--style", style, 0, Lattice::maxStyle))
        return exitUsage;
    if (args.size() != 1)
        return usageError("layout needs exactly one scale file");
    Lattice lattice;
    if (!loadScale(args[0], lattice))
        return exitFailed;
    if (style >= 0)
        lattice.setStyle(static_cast<int>(style));
    std::string text;
    for (int i = 0; i < lattice.count(); ++i) {
        appendWhole(text, lattice.plotX(i));
        text += '\t';
        appendWhole(text, lattice.plotY(i));
        text += '\t' + higherPrimesCell(lattice, i) + '\n';
    }
    std::cout << text;
    return exitOk;
}

const CliRegistration layoutRegistration({
    "layout",
    "layout FILE.scl [--style N]",
    "    Prints the plot position (x, tab, y; 0..1000) of every pitch of a scale file in the\n"
    "    lattice layout, or in style N (0 lattice, 1 circle, 2..4 keep the lattice places),\n"
    "    then a tab and the primes above 13 (\"-\" when there is none).\n",
    41,
    runLayout,
});

}  // namespace
}  // namespace tv::cli
