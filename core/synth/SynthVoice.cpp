#include "core/synth/SynthVoice.h"

#include <algorithm>
#include <cmath>

namespace tv {
namespace {

// A decaying note stops once it is this quiet (-80 dB): the step to silence is then below
// the smallest step of 16-bit audio.
constexpr double silentLevel = 1e-4;
constexpr double middleC = 261.6255653005986;

}  // namespace

void SynthVoice::start(const SynthWavetables& tables, Timbre timbre, int channel, int note,
                       double frequency, float gainLeft, float gainRight, std::uint64_t order)
{
    tables_ = &tables;
    timbre_ = timbre;
    channel_ = channel;
    note_ = note;
    order_ = order;
    gainLeft_ = gainLeft;
    gainRight_ = gainRight;

    phaseOrigin_ = 0;
    samplesSinceOrigin_ = 0;
    retune(frequency);

    const double rate = tables.sampleRate();
    const TimbreEnvelope& envelope = timbreEnvelope(timbre);
    stage_ = Stage::Attack;
    level_ = 0;
    attackStep_ = 1.0 / std::max(1.0, envelope.attackSeconds * rate);
    releaseSeconds_ = envelope.releaseSeconds;
    decayFactor_ = 1;
    if (envelope.decaySeconds > 0) {
        // Higher strings die away sooner.
        const double seconds =
            std::clamp(envelope.decaySeconds * std::sqrt(middleC / frequency), 0.25, 8.0);
        decayFactor_ = std::exp(-1.0 / (seconds * rate));
    }
    brightness_ = 0;
    brightnessFactor_ = 1;
    if (envelope.mellowSeconds > 0) {
        brightness_ = 1;
        brightnessFactor_ = std::exp(-1.0 / (envelope.mellowSeconds * rate));
    }
}

double SynthVoice::phaseNow() const
{
    const double cycles = phaseOrigin_ + increment_ * static_cast<double>(samplesSinceOrigin_);
    return cycles - std::floor(cycles);
}

void SynthVoice::retune(double frequency)
{
    phaseOrigin_ = phaseNow();
    samplesSinceOrigin_ = 0;
    frequency_ = frequency;
    const double rate = tables_->sampleRate();
    increment_ = frequency / rate;
    audible_ = frequency > 0 && frequency < rate / 2;
    selectTables();
}

void SynthVoice::selectTables()
{
    const int level = SynthWavetables::levelForFrequency(frequency_);
    mellow_ = nullptr;
    switch (timbre_) {
    case Timbre::Piano:
        table_ = tables_->table(SynthWavetables::PianoBright, level);
        mellow_ = tables_->table(SynthWavetables::PianoMellow, level);
        break;
    case Timbre::Organ: table_ = tables_->table(SynthWavetables::Organ, level); break;
    case Timbre::Strings: table_ = tables_->table(SynthWavetables::Strings, level); break;
    case Timbre::Reed: table_ = tables_->table(SynthWavetables::Reed, level); break;
    case Timbre::Sine: table_ = tables_->table(SynthWavetables::Sine, level); break;
    }
}

void SynthVoice::release()
{
    if (!held())
        return;
    stage_ = Stage::Release;
    releaseStep_ = level_ / std::max(1.0, releaseSeconds_ * tables_->sampleRate());
}

void SynthVoice::fadeOut(double seconds)
{
    if (idle())
        return;
    const double step = level_ / std::max(1.0, seconds * tables_->sampleRate());
    // Never slower than a release already under way.
    if (stage_ != Stage::Release || step > releaseStep_)
        releaseStep_ = step;
    stage_ = Stage::Release;
}

void SynthVoice::render(float* interleaved, int frames)
{
    if (idle())
        return;
    constexpr double tableSize = SynthWavetables::tableSize;
    double phase = phaseNow();
    const double increment = increment_;
    for (int i = 0; i < frames; ++i) {
        switch (stage_) {
        case Stage::Attack:
            level_ += attackStep_;
            if (level_ >= 1) {
                level_ = 1;
                stage_ = Stage::Hold;
            }
            break;
        case Stage::Hold:
            level_ *= decayFactor_;
            if (level_ < silentLevel)
                stage_ = Stage::Idle;
            break;
        case Stage::Release:
            level_ -= releaseStep_;
            if (level_ <= 0)
                stage_ = Stage::Idle;
            break;
        case Stage::Idle: break;
        }
        if (stage_ == Stage::Idle) {
            level_ = 0;
            break;
        }
        if (audible_) {
            const double position = phase * tableSize;
            const int index = static_cast<int>(position);
            const double fraction = position - index;
            double sample = table_[index] + fraction * (table_[index + 1] - table_[index]);
            if (mellow_) {
                const double soft =
                    mellow_[index] + fraction * (mellow_[index + 1] - mellow_[index]);
                sample = soft + brightness_ * (sample - soft);
                brightness_ *= brightnessFactor_;
            }
            const auto value = static_cast<float>(sample * level_);
            interleaved[2 * i] += value * gainLeft_;
            interleaved[2 * i + 1] += value * gainRight_;
        }
        phase += increment;
        if (phase >= 1)
            phase -= 1;
    }
    samplesSinceOrigin_ += frames;
}

}  // namespace tv
