#include "core/midi/GeneralMidi.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace tv {
namespace {

TEST(GeneralMidi, GroupsTileTheProgramsInEightsAfterAll)
{
    // The families in program order, eight programs each; a shifted or mistyped row leaves a
    // gap or an overlap, or is not found by its name.
    const char* const families[] = {"PIANO",         "CHROMATIC PERCUSSION",
                                    "ORGAN",         "GUITAR",
                                    "BASS",          "SOLO STRINGS",
                                    "ENSEMBLE",      "BRASS",
                                    "REED",          "PIPE",
                                    "SYNTH LEAD",    "SYNTH PAD",
                                    "SYNTH EFFECTS", "ETHNIC",
                                    "PERCUSSIVE",    "SOUND EFFECTS"};
    ASSERT_EQ(gmGroups.size(), 1 + std::size(families));
    EXPECT_STREQ(gmGroups[0].name, "ALL");
    EXPECT_EQ(findGroup("ALL"), std::make_pair(0, 127));
    for (std::size_t i = 0; i < std::size(families); ++i) {
        const int first = static_cast<int>(i) * 8;
        EXPECT_STREQ(gmGroups[i + 1].name, families[i]);
        EXPECT_EQ(findGroup(families[i]), std::make_pair(first, first + 7)) << families[i];
    }
}

TEST(GeneralMidi, FindGroupIgnoresCaseButNeedsTheWholeName)
{
    EXPECT_EQ(findGroup("brass"), std::make_pair(56, 63));
    EXPECT_EQ(findGroup("Sound Effects"), std::make_pair(120, 127));
    EXPECT_EQ(findGroup("Chromatic Percussion"), std::make_pair(8, 15));
    for (const char* other : {"", "BRAS", "BRASS ", "SYNTH", "Trumpet"})
        EXPECT_EQ(findGroup(other), std::make_pair(-1, -1)) << other;
}

TEST(GeneralMidi, EveryProgramName)
{
    // Spelled as the program has always listed them, "Skakuhachi" included.
    // clang-format off
    const char* const names[128] = {
        "Acoustic Grand", "Bright Acoustic", "Electric Grand", "Honky-Tonk", "Electric Piano 1",
        "Electric Piano 2", "Harpsichord", "Clavinet",
        "Celesta", "Glockenspiel", "Music Box", "Vibraphone", "Marimba", "Xylophone",
        "Tubular Bells", "Dulcimer",
        "Drawbar Organ", "Percussive Organ", "Rock Organ", "Church Organ", "Reed Organ",
        "Accordion", "Harmonica", "Tango Accordion",
        "Nylon String Guitar", "Steel String Guitar", "Electric Jazz Guitar",
        "Electric Clean Guitar", "Electric Muted Guitar", "Overdriven Guitar", "Distortion Guitar",
        "Guitar Harmonics",
        "Acoustic Bass", "Electric Bass(finger)", "Electric Bass(pick)", "Fretless Bass",
        "Slap Bass 1", "Slap Bass 2", "Synth Bass 1", "Synth Bass 2",
        "Violin", "Viola", "Cello", "Contrabass", "Tremolo Strings", "Pizzicato Strings",
        "Orchestral Strings", "Timpani",
        "String Ensemble 1", "String Ensemble 2", "SynthStrings 1", "SynthStrings 2", "Choir Aahs",
        "Voice Oohs", "Synth Voice", "Orchestra Hit",
        "Trumpet", "Trombone", "Tuba", "Muted Trumpet", "French Horn", "Brass Section",
        "SynthBrass 1", "SynthBrass 2",
        "Soprano Sax", "Alto Sax", "Tenor Sax", "Baritone Sax", "Oboe", "English Horn", "Bassoon",
        "Clarinet",
        "Piccolo", "Flute", "Recorder", "Pan Flute", "Blown Bottle", "Skakuhachi", "Whistle",
        "Ocarina",
        "Lead 1 (square)", "Lead 2 (sawtooth)", "Lead 3 (calliope)", "Lead 4 (chiff)",
        "Lead 5 (charang)", "Lead 6 (voice)", "Lead 7 (fifths)", "Lead 8 (bass+lead)",
        "Pad 1 (new age)", "Pad 2 (warm)", "Pad 3 (polysynth)", "Pad 4 (choir)", "Pad 5 (bowed)",
        "Pad 6 (metallic)", "Pad 7 (halo)", "Pad 8 (sweep)",
        "FX 1 (rain)", "FX 2 (soundtrack)", "FX 3 (crystal)", "FX 4 (atmosphere)",
        "FX 5 (brightness)", "FX 6 (goblins)", "FX 7 (echoes)", "FX 8 (sci-fi)",
        "Sitar", "Banjo", "Shamisen", "Koto", "Kalimba", "Bagpipe", "Fiddle", "Shanai",
        "Tinkle Bell", "Agogo", "Steel Drums", "Woodblock", "Taiko Drum", "Melodic Tom",
        "Synth Drum", "Reverse Cymbal",
        "Guitar Fret Noise", "Breath Noise", "Seashore", "Bird Tweet", "Telephone Ring",
        "Helicopter", "Applause", "Gunshot",
    };
    // clang-format on
    for (int program = 0; program < 128; ++program)
        EXPECT_EQ(programName(program), names[program]) << program;
    EXPECT_EQ(programName(128), "");
    EXPECT_EQ(programName(-1), "");
}

}  // namespace
}  // namespace tv
