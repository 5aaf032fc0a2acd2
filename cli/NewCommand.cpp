#include "cli/CliCommand.h"
#include "cli/ScaleFileArgument.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/OddLimitDiamond.h"
#include "core/lattice/ScaleShapes.h"

#include <algorithm>
#include <iostream>

namespace tv::cli {
namespace {

bool given(const Arguments& args, const char* option)
{
    return std::find(args.begin(), args.end(), option) != args.end();
}

int runNew(const Arguments& arguments)
{
    Arguments args = arguments;
    const bool diamond = given(args, "--diamond");
    const bool genus = given(args, "--genus");
    const bool cps = given(args, "--cps");
    long long limit = 0;
    std::string factors, out;
    if (!takeIntOption(args, "--diamond", limit, 1, maxDiamondLimit) ||
        !takeStringOption(args, "--genus", factors) || !takeStringOption(args, "--cps", factors) ||
        !takeStringOption(args, "-o", out))
        return exitUsage;
    if (!args.empty() || int{diamond} + int{genus} + int{cps} != 1)
        return usageError("new takes one of --diamond N, --genus \"F...\" or --cps \"K of F...\"");

    Scale scale;
    if (diamond) {
        scale = oddLimitDiamondScale(static_cast<std::uint32_t>(limit));
    } else {
        const ShapeScale shape = genus ? genusScale(factors) : combinationProductScale(factors);
        if (!shape.scale)
            return usageError(shape.message);
        scale = *shape.scale;
    }
    if (!out.empty()) {
        // Written as the lattice window writes a new lattice that is saved at once.
        Lattice lattice;
        lattice.loadScale(scale);
        return saveScale(out, lattice) ? exitOk : exitFailed;
    }
    std::string text;
    for (const ScalaPitch& pitch : scale.pitches)
        text += std::to_string(pitch.numerator) + '/' + std::to_string(pitch.denominator) + '\n';
    std::cout << text;
    return exitOk;
}

const CliRegistration newRegistration({
    "new",
    "new --diamond N | --genus \"F F ...\" | --cps \"K of F F ...\" [-o OUT.scl]",
    "    The pitches of a new lattice, one ratio a line, from the smallest, or written to\n"
    "    OUT.scl: the N-odd-limit diamond (N up to 45), the Euler-Fokker genus of the factors\n"
    "    (\"3 3 5 7\"), or the product set of every K of them (\"2 of 1 3 5 7\": the hexany).\n",
    43,
    runNew,
});

}  // namespace
}  // namespace tv::cli
