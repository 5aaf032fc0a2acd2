#include "core/tuning/TuningMethodVoices.h"

#include "core/midi/MidiOutput.h"
#include "core/tuning/BendTuning.h"
#include "core/tuning/MpeTuning.h"
#include "core/tuning/PitchOutput.h"

namespace tv {
namespace {

ExactPitch exactPitch(const KeyPitch& pitch)
{
    if (pitch.degree.isRatio())
        return ExactPitch::ratio(pitch.degree.numerator, pitch.degree.denominator, pitch.octave);
    return ExactPitch::centsAbove(pitch.degree.cents, pitch.octave);
}

}  // namespace

int TuningMethodVoices::polyphony() const { return output_.method().maxChordNotes(); }

std::optional<KeyboardVoice> TuningMethodVoices::start(const KeyPitch& pitch, std::uint8_t velocity,
                                                       int slot)
{
    TuningMethod& method = output_.method();
    const SoundRequest request{exactPitch(pitch), velocity, this};
    const auto note = method.start(request, slot, -1);
    if (!note)
        return std::nullopt;
    KeyboardVoice voice{note->channel, note->key, std::nullopt};
    if (const auto* bend = dynamic_cast<const BendTuning*>(&method))
        voice.tuningBend = bend->noteBend(request.pitch).bend;
    else if (const auto* mpe = dynamic_cast<const MpeTuning*>(&method))
        voice.tuningBend = mpe->noteBend(request.pitch.totalCents()).bend;
    return voice;
}

void TuningMethodVoices::end(const KeyboardVoice& voice)
{
    output_.method().end({voice.channel, voice.key}, this);
}

void TuningMethodVoices::send(std::uint32_t packed) { output_.midi().send(packed); }

}  // namespace tv
