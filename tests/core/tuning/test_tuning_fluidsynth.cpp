// FluidSynth as the receiver of what the MIDI Tuning Standard method sends: its tuning table,
// read back in double precision, must hold every pitch that sounds, and no key may be retuned
// while it sounds.

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/pitch/Ratio.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace tv {
namespace {

// Hands every message to a FluidSynth instance and checks, at each tuning change, that the
// keys that sound keep their tuning.
class FluidReceiver : public MidiService {
public:
    FluidReceiver()
    {
        settings_ = new_fluid_settings();
        fluid_settings_setint(settings_, "synth.verbose", 0);
        // No SoundFont is loaded: only the tuning tables matter here.
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        synth_ = new_fluid_synth(settings_);
    }
    ~FluidReceiver() override
    {
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }

    void send(std::uint32_t packed) override
    {
        const int channel = messageStatus(packed) & 15;
        const int data1 = messageData1(packed);
        const int data2 = messageData2(packed);
        switch (messageStatus(packed) & 0xF0) {
        case 0x90:
            if (data2 != 0) {
                sounding_[static_cast<std::size_t>(data1)] = true;
                fluid_synth_noteon(synth_, channel, data1, data2);
                break;
            }
            [[fallthrough]];
        case 0x80:
            sounding_[static_cast<std::size_t>(data1)] = false;
            fluid_synth_noteoff(synth_, channel, data1);
            break;
        case 0xB0: fluid_synth_cc(synth_, channel, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth_, channel, data1); break;
        default: ++unexpected;
        }
    }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        const auto before = table();
        int handled = 0;
        // FluidSynth takes the bytes between F0 and F7.
        fluid_synth_sysex(synth_, reinterpret_cast<const char*>(message.data() + 1),
                          static_cast<int>(message.size() - 2), nullptr, nullptr, &handled, 0);
        EXPECT_TRUE(handled) << messageHex(message);
        const auto after = table();
        for (std::size_t key = 0; key < 128; ++key) {
            if (sounding_[key]) {
                EXPECT_EQ(before[key], after[key]) << "key " << key << " retuned while sounding";
            }
        }
    }

    // Tuning bank 0, program 0 in cents per key (the default 100 a key before any change).
    std::array<double, 128> table() const
    {
        std::array<double, 128> cents{};
        if (fluid_synth_tuning_dump(synth_, 0, 0, nullptr, 0, cents.data()) != FLUID_OK) {
            for (std::size_t key = 0; key < 128; ++key)
                cents[key] = 100.0 * static_cast<double>(key);
        }
        return cents;
    }
    bool sounding(int key) const { return sounding_[static_cast<std::size_t>(key)]; }

    int unexpected = 0;

private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::array<bool, 128> sounding_{};
};

struct FluidTuning : ::testing::Test {
    std::shared_ptr<FluidReceiver> fluid = std::make_shared<FluidReceiver>();
    MidiOutput output{fluid};
    PitchOutput pitches{output};

    void SetUp() override { pitches.setKind(TuningKind::Mts); }

    // Adds the pitches to a chord of their own, plays it, and checks that the key of every
    // note-on is tuned to its pitch (1/1 on note 60) within 0.0062 cent.
    void playAndCheck(PitchChord& chord, const std::vector<ExactPitch>& chordPitches)
    {
        for (const ExactPitch& pitch : chordPitches)
            ASSERT_TRUE(chord.add(pitch));
        chord.play(0);
        const auto cents = fluid->table();
        int checked = 0;
        // Each pitch must sound on some sounding key tuned to it, one key per pitch.
        std::array<bool, 128> used{};
        for (const ExactPitch& pitch : chordPitches) {
            const double wanted = 6000.0 + pitch.totalCents();
            bool found = false;
            for (std::size_t key = 0; key < 128 && !found; ++key) {
                if (!used[key] && fluid->sounding(static_cast<int>(key)) &&
                    std::fabs(cents[key] - wanted) <= 0.0062) {
                    used[key] = true;
                    found = true;
                }
            }
            EXPECT_TRUE(found) << pitch.totalCents() << " cents";
            ++checked;
        }
        EXPECT_EQ(checked, static_cast<int>(chordPitches.size()));
        EXPECT_EQ(fluid->unexpected, 0) << "a pitch bend or other message went out";
    }
};

TEST_F(FluidTuning, ChordsSingleNotesAndAHeldNoteUnderAnother)
{
    PitchChord seventh(pitches);
    playAndCheck(seventh, {ExactPitch::ratio(1, 1), ExactPitch::ratio(5, 4),
                           ExactPitch::ratio(3, 2), ExactPitch::ratio(7, 4)});
    seventh.release();

    PitchChord single(pitches);
    playAndCheck(single, {ExactPitch::ratio(13, 8)});
    single.release();

    // 81/64 while 5/4 is held: both sound, each on a key of its own.
    PitchChord third(pitches);
    playAndCheck(third, {ExactPitch::ratio(5, 4)});
    PitchChord pythagorean(pitches);
    playAndCheck(pythagorean, {ExactPitch::ratio(81, 64)});
    // The held note keeps its key and its tuning.
    EXPECT_TRUE(fluid->sounding(63));
    EXPECT_NEAR(fluid->table()[63], 6000.0 + ratioCents(5, 4), 0.0062);
    third.release();
    pythagorean.release();
}

TEST_F(FluidTuning, FortyDifferentPitchesHeldAtOnce)
{
    // 40 pitches between 1/1 and 2/1 and beyond, many of them a few cents apart, so several
    // share an equal-tempered note and must take neighbouring keys.
    std::vector<ExactPitch> forty;
    for (std::uint32_t n = 41; n <= 80; ++n)
        forty.push_back(ExactPitch::ratio(n, 40, n % 3 == 0 ? 1 : 0));
    PitchChord chord(pitches);
    playAndCheck(chord, forty);
}

}  // namespace
}  // namespace tv
