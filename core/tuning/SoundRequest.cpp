#include "core/tuning/SoundRequest.h"

#include "core/pitch/Ratio.h"

namespace tv {

double ExactPitch::totalCents() const
{
    return (isRatio() ? ratioCents(numerator, denominator) : cents) + 1200.0 * octave;
}

}  // namespace tv
