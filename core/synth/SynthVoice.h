#pragma once

#include "core/synth/SynthTimbre.h"

#include <cstdint>

namespace tv {

// One sounding note of the built-in synthesizer: a band-limited cycle read at an exact
// frequency, shaped by a short linear attack, an optional decay and a linear release.
//
// The phase is never accumulated over the life of the note: at the start of every rendered
// block it is computed afresh as origin + increment x (samples since the origin), so rounding
// cannot build up into a pitch or phase error however long the note sounds. A retune moves the
// origin to the current phase, so the waveform stays continuous.
class SynthVoice {
public:
    enum class Stage : std::uint8_t { Idle, Attack, Hold, Release };

    // Starts a note at `frequency` Hz with phase 0. `order` ranks voices by age (larger is
    // younger); `gainLeft` and `gainRight` hold velocity and pan.
    void start(const SynthWavetables& tables, Timbre timbre, int channel, int note,
               double frequency, float gainLeft, float gainRight, std::uint64_t order);
    // A new frequency from the next sample on, with the waveform continuing where it is.
    void retune(double frequency);
    // Begins the timbre's release (note-off).
    void release();
    // Falls silent within `seconds`, whatever the timbre (a stolen voice).
    void fadeOut(double seconds);
    // Adds `frames` stereo frames of this voice into `interleaved` (left, right, left, ...).
    void render(float* interleaved, int frames);

    Stage stage() const { return stage_; }
    bool idle() const { return stage_ == Stage::Idle; }
    // Attack or hold: the key is down.
    bool held() const { return stage_ == Stage::Attack || stage_ == Stage::Hold; }
    int channel() const { return channel_; }
    int note() const { return note_; }
    std::uint64_t order() const { return order_; }
    double frequency() const { return frequency_; }
    double level() const { return level_; }

private:
    void selectTables();
    double phaseNow() const;

    const SynthWavetables* tables_ = nullptr;
    const float* table_ = nullptr;   // main partials at the current octave level
    const float* mellow_ = nullptr;  // Piano's mellow partials, else null
    Timbre timbre_ = Timbre::Sine;
    Stage stage_ = Stage::Idle;
    int channel_ = 0;
    int note_ = 0;
    std::uint64_t order_ = 0;

    double frequency_ = 0;
    double increment_ = 0;    // cycles per sample
    double phaseOrigin_ = 0;  // phase in cycles, 0..1, at the origin sample
    std::int64_t samplesSinceOrigin_ = 0;
    bool audible_ = false;  // false at or above the Nyquist frequency

    double level_ = 0;  // envelope, 0..1
    double attackStep_ = 0;
    double releaseStep_ = 0;
    double releaseSeconds_ = 0;
    double decayFactor_ = 1;  // per sample while held
    double brightness_ = 0;   // Piano: weight of the bright partials, 1 falling to 0
    double brightnessFactor_ = 1;
    float gainLeft_ = 0;
    float gainRight_ = 0;
};

}  // namespace tv
