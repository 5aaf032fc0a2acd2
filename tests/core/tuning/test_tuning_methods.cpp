#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MtsMessages.h"
#include "core/tuning/MpeTuning.h"
#include "core/tuning/MtsTuning.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tv {
namespace {

using Hex = std::vector<std::string>;

TEST(MtsFrequency, NoteAtOrBelowAndTheRestInSteps)
{
    struct Case {
        double semitones;
        std::optional<MtsFrequency> word;
    };
    const Case cases[] = {
        {60.0, MtsFrequency{0x3C, 0x00, 0x00}},
        {0.0, MtsFrequency{0x00, 0x00, 0x00}},
        {63.863137138648348, MtsFrequency{0x3F, 0x6E, 0x3E}},   // 5/4 above note 60
        {64.078200034615497, MtsFrequency{0x40, 0x0A, 0x01}},   // 81/64
        {60.5 + 0.49 / 16384, MtsFrequency{0x3C, 0x40, 0x00}},  // rounds down
        {60.5 + 0.51 / 16384, MtsFrequency{0x3C, 0x40, 0x01}},  // rounds up
        {60.99999, MtsFrequency{0x3D, 0x00, 0x00}},  // a fraction that rounds to a semitone
        {127.0 + 16382.0 / 16384, MtsFrequency{0x7F, 0x7F, 0x7E}},  // the last pitch
        {127.0 + 16383.0 / 16384, std::nullopt},                    // 7F 7F 7F: "no change"
        {127.99999, std::nullopt},
        {-0.00001, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mtsFrequency(c.semitones), c.word) << c.semitones;
}

struct MethodTest : ::testing::Test {
    std::shared_ptr<test::CaptureMidiService> capture =
        std::make_shared<test::CaptureMidiService>();
    MidiOutput output{capture};
    PitchOutput pitches{output};

    Hex playChord(std::initializer_list<ExactPitch> chordPitches, PitchChord& chord,
                  int program = 0)
    {
        capture->clear();
        chord.clear();
        for (const ExactPitch& p : chordPitches)
            EXPECT_TRUE(chord.add(p));
        chord.play(program);
        return capture->hex();
    }
};

TEST_F(MethodTest, MtsRetunesEachKeyJustBeforeItsNoteOnAndEndsTheKeyItTook)
{
    capture->clear();
    pitches.setKind(TuningKind::Mts);
    EXPECT_EQ(capture->hex(), (Hex{"b0 65 00", "b0 64 04", "b0 06 00", "b0 65 00", "b0 64 03",
                                   "b0 06 00", "b0 65 7f", "b0 64 7f"}));
    PitchChord chord(pitches);
    // 4:5:6:7, the program once: every note shares channel 1.
    EXPECT_EQ(playChord({ExactPitch::ratio(1, 1), ExactPitch::ratio(5, 4), ExactPitch::ratio(3, 2),
                         ExactPitch::ratio(7, 4)},
                        chord, 5),
              (Hex{"c0 05", "f0 7f 7f 08 02 00 01 3c 3c 00 00 f7", "90 3c 5a",
                   "f0 7f 7f 08 02 00 01 3f 3f 6e 3e f7", "90 3f 5a",
                   "f0 7f 7f 08 02 00 01 43 43 02 40 f7", "90 43 5a",
                   "f0 7f 7f 08 02 00 01 45 45 58 0c f7", "90 45 5a"}));
    capture->clear();
    chord.release();
    chord.release();  // a second release sends nothing: the keys are free
    EXPECT_EQ(capture->hex(), (Hex{"80 3c 00", "80 3f 00", "80 43 00", "80 45 00"}));

    // A sounding key is never retuned: the same pitch again takes the nearest free key.
    PitchChord held(pitches);
    EXPECT_EQ(playChord({ExactPitch::ratio(5, 4), ExactPitch::ratio(5, 4)}, held).back(),
              "90 40 5a");
    EXPECT_EQ(capture->hex()[3], "f0 7f 7f 08 02 00 01 40 3f 6e 3e f7");
    // Another source's stale end leaves the keys alone.
    capture->clear();
    pitches.method().end(SoundingNote{0, 0x3F}, &chord);
    EXPECT_TRUE(capture->hex().empty());

    // A pitch beyond the last tunable key is refused like a note above 127.
    EXPECT_FALSE(chord.add(ExactPitch::centsAbove(6800.0)));
    EXPECT_TRUE(chord.add(ExactPitch::centsAbove(6799.0)));
}

TEST_F(MethodTest, MtsTranslatesScriptCodeKeepingItsBends)
{
    pitches.setKind(TuningKind::Mts);
    capture->clear();
    TuningMethod& mts = pitches.method();
    int source = 0;
    // 3/2 as byte code holds it: note 67, bend 8272 at range 2, on channel 1.
    mts.sendScriptMessage(pitchBend(1, 0x50, 0x40), &source);
    mts.sendScriptMessage(noteOn(1, 67, 96), &source);
    mts.sendScriptMessage(programChange(4, 9), &source);
    mts.sendScriptMessage(noteOff(1, 67), &source);
    mts.sendScriptMessage(noteOff(1, 67), &source);  // ends nothing twice
    EXPECT_EQ(capture->hex(),
              (Hex{"f0 7f 7f 08 02 00 01 43 43 02 40 f7", "90 43 60", "c0 09", "80 43 00"}));
}

TEST_F(MethodTest, MpeBendsScriptNotesOnMemberChannelsAtTheMemberRange)
{
    output.setBendRange(48, false);
    pitches.setKind(TuningKind::Mpe);
    capture->clear();
    TuningMethod& mpe = pitches.method();
    int source = 0;
    // Note 67 and 80 bend steps of the code's 4096 a semitone: at range 48, 8192 + 3.3.
    mpe.sendScriptMessage(pitchBend(1, 0x50, 0x40), &source);
    mpe.sendScriptMessage(noteOn(1, 67, 96), &source);
    mpe.sendScriptMessage(noteOn(1, 67, 0), &source);  // ends the note, starts none
    mpe.sendScriptMessage(controlChange(5, 7, 100), &source);
    EXPECT_EQ(capture->hex(), (Hex{"e1 03 40", "91 43 60", "81 43 00", "b0 07 64"}));
}

TEST_F(MethodTest, MpeAnnouncesItsZoneAndGivesEachNoteAMemberChannel)
{
    output.setBendRange(48, false);
    capture->clear();
    pitches.setKind(TuningKind::Mpe);
    Hex zone{"b0 65 00", "b0 64 06", "b0 06 0f", "b1 65 00", "b1 64 00",
             "b1 06 30", "b1 26 00", "b1 65 7f", "b1 64 7f"};
    EXPECT_EQ(capture->hex(), zone);

    PitchChord chord(pitches);
    // 5/4 at range 48: note 63, bend 8192 + 0.86314 x 8192 / 48 = 8339.
    EXPECT_EQ(playChord({ExactPitch::ratio(1, 1), ExactPitch::ratio(5, 4)}, chord, 3),
              (Hex{"c1 03", "e1 00 40", "91 3c 5a", "c2 03", "e2 13 41", "92 3f 5a"}));
    capture->clear();
    chord.release();
    chord.release();
    EXPECT_EQ(capture->hex(), (Hex{"81 3c 00", "82 3f 00"}));

    // Free longest first: channels 4 to 16 were never used, then 2 and 3 in the order freed.
    std::vector<int> channels;
    PitchChord full(pitches);
    full.clear();
    for (int k = 0; k < 15; ++k)
        ASSERT_TRUE(full.add(ExactPitch::ratio(3, 2)));
    EXPECT_FALSE(full.add(ExactPitch::ratio(3, 2)));
    capture->clear();
    full.play(-1);
    for (const std::string& m : capture->hex())
        if (m[0] == '9')
            channels.push_back(std::stoi(m.substr(1, 1), nullptr, 16));
    EXPECT_EQ(channels, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 1, 2}));
    // All 15 sound: a 16th note ends the oldest first and takes its channel.
    capture->clear();
    PitchChord more(pitches);
    ASSERT_TRUE(more.add(ExactPitch::ratio(1, 1)));
    more.play(-1);
    EXPECT_EQ(capture->hex(), (Hex{"83 43 00", "e3 00 40", "93 3c 5a"}));
}

}  // namespace
}  // namespace tv
