#include "cli/BendRangeOption.h"

#include <algorithm>

namespace tv::cli {

bool takeBendRangeOptions(Arguments& args, BendRangeChoice& choice)
{
    long long semitones = defaultBendRange;
    if (!takeIntOption(args, "--bend-range", semitones, minBendRange, maxBendRange))
        return false;
    choice.semitones = static_cast<int>(semitones);
    const auto flag = std::find(args.begin(), args.end(), "--send-range");
    choice.sendAlways = flag != args.end();
    if (choice.sendAlways)
        args.erase(flag);
    return true;
}

}  // namespace tv::cli
