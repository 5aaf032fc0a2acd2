#include "core/synth/SynthEngine.h"

#include "core/midi/MidiMessage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tv {
namespace {

// Peak level of one voice at velocity 127; a chord of many voices is kept below full scale by
// the soft limit.
constexpr double fullVelocityGain = 0.25;

// Leaves samples below the knee alone and bends louder ones smoothly towards full scale, so a
// dense chord never wraps or clips hard.
float softLimit(float x)
{
    constexpr float knee = 0.8f;
    const float magnitude = std::abs(x);
    if (magnitude <= knee)
        return x;
    const float limited = knee + (1 - knee) * std::tanh((magnitude - knee) / (1 - knee));
    return x < 0 ? -limited : limited;
}

}  // namespace

SynthEngine::SynthEngine(double sampleRate) : sampleRate_(sampleRate), tables_(sampleRate)
{
    for (int key = 0; key < 128; ++key)
        keyPitch_[static_cast<std::size_t>(key)] = key;
    // Spread the channels a little across the stereo field, channel 0 in the middle, so the
    // notes of a chord (one per channel) stand apart.
    for (int c = 0; c < channelCount; ++c) {
        const double position = 0.4 * std::sin(2.4 * c);  // -1 left .. 1 right
        const double angle = (position + 1) * std::numbers::pi / 4;
        channels_[static_cast<std::size_t>(c)].panLeft = static_cast<float>(std::cos(angle));
        channels_[static_cast<std::size_t>(c)].panRight = static_cast<float>(std::sin(angle));
    }
}

double SynthEngine::noteFrequency(int note, int bend, double bendRange)
{
    return pitchFrequency(note, bend, bendRange);
}

double SynthEngine::pitchFrequency(double pitch, int bend, double bendRange)
{
    const double semitones = pitch - 69 + (bend - 8192) * bendRange / 8192.0;
    return 440.0 * std::exp2(semitones / 12.0);
}

// Bit 31 marks a key's tuning, which no packed short message sets: the key, the note and the
// two fraction bytes of the frequency word, seven bits each from bit 0.
std::uint32_t SynthEngine::keyTuningMessage(std::uint8_t key, std::uint8_t note,
                                            std::uint8_t fractionMsb, std::uint8_t fractionLsb)
{
    return 0x80000000u | (key & 127u) | ((note & 127u) << 7) | ((fractionMsb & 127u) << 14) |
           ((fractionLsb & 127u) << 21);
}

void SynthEngine::handleBytes(std::span<const std::uint8_t> message)
{
    keyTunings(message, [this](std::uint32_t tuning) { handleMessage(tuning); });
}

void SynthEngine::tuneKey(int key, double pitch)
{
    keyPitch_[static_cast<std::size_t>(key)] = pitch;
    for (auto& voice : voices_) {
        if (!voice.idle() && voice.note() == key) {
            const Channel& state = channels_[static_cast<std::size_t>(voice.channel())];
            voice.retune(pitchFrequency(pitch, state.bend, state.bendRange));
        }
    }
}

void SynthEngine::handleMessage(std::uint32_t packed)
{
    if (packed & 0x80000000u) {
        const int note = (packed >> 7) & 127;
        const int steps = static_cast<int>(((packed >> 14) & 127) << 7 | ((packed >> 21) & 127));
        // 7F 7F 7F leaves the key as it is.
        if (!(note == 127 && steps == 16383))
            tuneKey(static_cast<int>(packed & 127), note + steps / 16384.0);
        return;
    }
    const std::uint8_t status = messageStatus(packed);
    const int channel = status & 15;
    const int data1 = messageData1(packed) & 127;
    const int data2 = messageData2(packed) & 127;
    switch (status & 0xF0) {
    case 0x80: noteOff(channel, data1); break;
    case 0x90:
        if (data2 == 0)
            noteOff(channel, data1);
        else
            noteOn(channel, data1, data2);
        break;
    case 0xC0: channels_[static_cast<std::size_t>(channel)].program = data1; break;
    case 0xB0: controller(channel, data1, data2); break;
    case 0xE0: setBend(channel, data1 | (data2 << 7)); break;
    default: break;
    }
}

void SynthEngine::noteOn(int channel, int note, int velocity)
{
    // A repeated key: the sounding note gives way to the new one.
    noteOff(channel, note);

    int playing = 0;
    int oldest = -1;
    for (int i = 0; i < slotCount; ++i) {
        const auto& voice = voices_[static_cast<std::size_t>(i)];
        if (voice.idle() || stolen_[static_cast<std::size_t>(i)])
            continue;
        ++playing;
        if (oldest < 0 || voice.order() < voices_[static_cast<std::size_t>(oldest)].order())
            oldest = i;
    }
    if (playing >= maxVoices) {
        voices_[static_cast<std::size_t>(oldest)].fadeOut(stealSeconds);
        stolen_[static_cast<std::size_t>(oldest)] = true;
    }

    const int slot = freeSlot();
    const Channel& state = channels_[static_cast<std::size_t>(channel)];
    const double loudness = velocity / 127.0;
    const double gain = fullVelocityGain * loudness * loudness;
    stolen_[static_cast<std::size_t>(slot)] = false;
    voices_[static_cast<std::size_t>(slot)].start(
        tables_, timbreForProgram(state.program), channel, note,
        pitchFrequency(keyPitch_[static_cast<std::size_t>(note & 127)], state.bend,
                       state.bendRange),
        static_cast<float>(gain * state.panLeft), static_cast<float>(gain * state.panRight),
        nextOrder_++);
}

int SynthEngine::freeSlot()
{
    int quietest = 0;
    for (int i = 0; i < slotCount; ++i) {
        const auto& voice = voices_[static_cast<std::size_t>(i)];
        if (voice.idle())
            return i;
        if (stolen_[static_cast<std::size_t>(i)] &&
            (!stolen_[static_cast<std::size_t>(quietest)] ||
             voice.level() < voices_[static_cast<std::size_t>(quietest)].level()))
            quietest = i;
    }
    // Only when more voices were stolen within a few milliseconds than there are spare slots:
    // cut short the fade that is nearest to silence.
    return quietest;
}

void SynthEngine::noteOff(int channel, int note)
{
    for (auto& voice : voices_) {
        if (voice.held() && voice.channel() == channel && voice.note() == note)
            voice.release();
    }
}

void SynthEngine::setBend(int channel, int bend)
{
    Channel& state = channels_[static_cast<std::size_t>(channel)];
    state.bend = bend;
    for (auto& voice : voices_) {
        if (!voice.idle() && voice.channel() == channel)
            voice.retune(pitchFrequency(keyPitch_[static_cast<std::size_t>(voice.note() & 127)],
                                        bend, state.bendRange));
    }
}

void SynthEngine::controller(int channel, int number, int value)
{
    Channel& state = channels_[static_cast<std::size_t>(channel)];
    switch (number) {
    case 101: state.parameterMsb = value; return;
    case 100: state.parameterLsb = value; return;
    case 6:
    case 38: break;
    default: return;
    }
    if (state.parameterMsb != 0 || state.parameterLsb != 0)
        return;
    // Data entry 6 sets the whole semitones and clears the cents; 38 then sets the cents.
    const double semitones = std::floor(state.bendRange);
    state.bendRange = number == 6 ? value : semitones + value / 100.0;
    setBend(channel, state.bend);
}

void SynthEngine::render(float* interleaved, std::size_t frames)
{
    std::fill(interleaved, interleaved + 2 * frames, 0.0f);
    for (std::size_t done = 0; done < frames;) {
        const int block = static_cast<int>(std::min<std::size_t>(blockFrames, frames - done));
        float* out = interleaved + 2 * done;
        for (auto& voice : voices_)
            voice.render(out, block);
        done += static_cast<std::size_t>(block);
    }
    for (std::size_t i = 0; i < 2 * frames; ++i)
        interleaved[i] = softLimit(interleaved[i]);
    framesRendered_ += frames;
}

int SynthEngine::activeVoices() const
{
    int count = 0;
    for (int i = 0; i < slotCount; ++i) {
        if (!voices_[static_cast<std::size_t>(i)].idle() && !stolen_[static_cast<std::size_t>(i)])
            ++count;
    }
    return count;
}

bool SynthEngine::noteHeld(int channel, int note) const
{
    for (int i = 0; i < slotCount; ++i) {
        const auto& voice = voices_[static_cast<std::size_t>(i)];
        if (voice.held() && !stolen_[static_cast<std::size_t>(i)] && voice.channel() == channel &&
            voice.note() == note)
            return true;
    }
    return false;
}

}  // namespace tv
