#include "core/tuning/BendTuning.h"

#include "core/midi/BendRange.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"

namespace tv {

NoteBend BendTuning::noteBend(const ExactPitch& pitch) const
{
    const int range = output_.bendRange();
    return pitch.isRatio() ? noteForRatio(output_.baseNote(), pitch.octave, pitch.numerator,
                                          pitch.denominator, range)
                           : noteForCents(output_.baseNote(), pitch.octave, pitch.cents, range);
}

bool BendTuning::reaches(const ExactPitch& pitch) const
{
    const int note = noteBend(pitch).note;
    return note >= 0 && note <= 127;
}

std::optional<SoundingNote> BendTuning::start(const SoundRequest& request, int slot, int program)
{
    if (slot < 0 || slot >= channels)
        return std::nullopt;
    const NoteBend tuned = noteBend(request.pitch);
    if (tuned.note < 0 || tuned.note > 127)
        return std::nullopt;
    // The k-th note of a chord takes channel k, so each carries its own bend.
    const SoundingNote placed{static_cast<std::uint8_t>(slot),
                              static_cast<std::uint8_t>(tuned.note)};
    if (program >= 0 && program <= 127)
        output_.send(programChange(placed.channel, program));
    output_.send(pitchBend(placed.channel, tuned.bendLsb, tuned.bendMsb));
    output_.send(noteOn(placed.channel, placed.key, request.velocity));
    return placed;
}

void BendTuning::end(const SoundingNote& note, SoundSource)
{
    output_.send(noteOff(note.channel, note.key));
}

void BendTuning::sendScriptMessage(std::uint32_t packed, SoundSource)
{
    output_.send(rescaleDefaultRangeBend(packed, output_.bendRange()));
}

// The bend range is the output's own: it goes out when the range is set or a device opens.
void BendTuning::announce() {}

}  // namespace tv
