#include "cli/BendRangeOption.h"

#include <algorithm>

namespace tv::cli {

bool takeBendRangeOptions(Arguments& args, BendRangeChoice& choice)
{
    std::string word;
    const bool tuningGiven = std::find(args.begin(), args.end(), "--tuning") != args.end();
    if (!takeStringOption(args, "--tuning", word))
        return false;
    if (tuningGiven) {
        const auto kind = tuningKindForWord(word);
        if (!kind) {
            usageError("--tuning takes bend, mts or mpe, not '" + word + "'");
            return false;
        }
        choice.tuning = *kind;
    }
    long long semitones = defaultBendRange;
    const int limit = choice.tuning == TuningKind::Mpe ? maxMpeBendRange : maxBendRange;
    if (!takeIntOption(args, "--bend-range", semitones, minBendRange, limit))
        return false;
    choice.semitones = static_cast<int>(semitones);
    const auto flag = std::find(args.begin(), args.end(), "--send-range");
    choice.sendAlways = flag != args.end();
    if (choice.sendAlways)
        args.erase(flag);
    return true;
}

}  // namespace tv::cli
