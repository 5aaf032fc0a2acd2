#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

using test::hexOf;
using test::Steps;
using test::stepsOf;

TEST(CompilerBytes, TextsAndTheirBytes)
{
    const struct {
        const char* text;
        const char* hex;
    } cases[] = {
        {"PLAY 1/1 3/2 500 MSEC",
         "50 02 e0 00 40 90 3c 60 e1 50 40 91 43 60 44 00 00 01 f4 80 3c 00 81 43 00 00"},
        {"REST 2 SEC", "52 00 00 07 d0 00"},
        {"REST 70 SEC", "52 00 01 11 70 00"},
        // No length given: the current length, 1000 ms at the start.
        {"PLAY 1/1", "50 01 e0 00 40 90 3c 60 44 00 00 03 e8 80 3c 00 00"},
        {"\r\nPLAY 1/1\r\n", "50 01 e0 00 40 90 3c 60 44 00 00 03 e8 80 3c 00 00"},
        // A quarter at the initial tempo; keywords and letters in any case.
        {"play 1/1 Q", "50 01 e0 00 40 90 3c 60 44 00 00 01 f4 80 3c 00 00"},
        {"PLAY 1/1 q", "50 01 e0 00 40 90 3c 60 44 00 00 01 f4 80 3c 00 00"},
        // A PLAY without notes is a silence of its length.
        {"PLAY 250 ms", "50 00 44 00 00 00 fa 00"},
        // Nothing to play: the end byte alone.
        {"", "00"},
        {" \r\n\t ", "00"},
        {"/ nothing to play", "00"},
        {"' PLAY 1/1", "00"},
        {"hello world", "00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexOf(c.text), c.hex) << c.text;
}

// Texts and the steps they compile to ("P note", "D ms" after a chord, "R ms").
TEST(CompilerSteps, TextsAndTheirSteps)
{
    const struct {
        const char* text;
        Steps steps;
    } cases[] = {
        // Lengths: numbers with units.
        {"REST 2 sec", {"R 2000"}},
        {"REST 2 s REST 1.5 SEC REST 0.25 seconds", {"R 2000", "R 1500", "R 250"}},
        {"REST 250 ms REST 99.5 MSEC REST 1.5e3 msec", {"R 250", "R 100", "R 1500"}},
        // Seconds are rounded to whole ms: 2.01 s is 2009.999... ms in binary, 1.0005 s half a ms
        // above 1000; also for a number that ends the text.
        {"REST 4.35 s REST 2.01 s REST 1.0005 sec REST 4.02",
         {"R 4350", "R 2010", "R 1001", "R 4020"}},
        // At the end of the text a number counts as seconds.
        {"REST 3", {"R 3000"}},
        // A length too long for 32 bits is held at the largest one.
        {"REST 99999999 sec", {"R 4294967295"}},

        // Lengths: unit words are consumed.
        // "SLEEP" begins with S: the unit of 2, and "1" is then a length at the end (seconds).
        {"PLAY 1/1 2 SLEEP 1", {"P 60", "D 1000"}},
        {"REST 2 sec\nPLAY 1/1", {"R 2000", "P 60", "D 2000"}},
        // Not a unit: the number is dropped and the word consumed, so 3/2 is no note here ...
        {"PLAY 1/1 2 3/2", {"P 60", "D 1000"}},
        // ... and after REST the word is looked at as a statement.
        {"REST 2 PLAY 1/1 q", {"R 1000", "P 60", "D 500"}},

        // Lengths: letters, dots and tuplets.
        {"REST d REST w REST h REST q REST e REST s REST t REST x REST o REST i",
         {"R 4000", "R 2000", "R 1000", "R 500", "R 250", "R 125", "R 63", "R 31", "R 16", "R 16"}},
        {"REST h. REST q.. REST quarter REST E2/3 REST q3:2 REST h3:4",
         {"R 1500", "R 1125", "R 500", "R 166", "R 750", "R 750"}},
        // Each dot rounds: a quarter of 333 ms dotted is 499.5, kept as 500, and 750 after two.
        {"TEMPO Q180 REST q REST q. REST q..", {"R 333", "R 500", "R 750"}},
        // "q (quarter)" as two words: "(quarter)" is passed over inside PLAY.
        {"PLAY 1/1 q (quarter)", {"P 60", "D 500"}},

        // Lengths: a spoilt tuplet keeps the letter length but is no letter.
        // e2x: the eighth is set, but the word is no length letter, so SLEEP writes nothing.
        {"SLEEP e2x REST", {"R 250"}},
        {"PLAY 1/1 h e2x", {"P 60", "D 250"}},
        // A zero divisor is no tuplet either.
        {"SLEEP q2/0 REST", {"R 500"}},

        // REST: what follows it decides.
        {"REST", {"R 1000"}},
        {"SLEEP q", {"R 500"}},
        {"SLEEP abc", {}},
        {"SLEEP xyz", {"R 31"}},
        // The word after REST is read with the comma as a separator.
        {"REST ,q", {"R 500"}},
        // A keyword right after REST is no length: nothing is written and it starts a statement.
        {"REST PLAY 1/1", {"P 60", "D 1000"}},
        // SLEEP and REST end a PLAY like the other keywords.
        {"PLAY 1/1 q\r\nSLEEP h", {"P 60", "D 500", "R 1000"}},
        {"PLAY 1/1 q REST h", {"P 60", "D 500", "R 1000"}},

        // TEMPO: beat letters and their quarters.
        {"TEMPO Q60 PLAY 1/1 q REST h.", {"P 60", "D 1000", "R 3000"}},
        {"TEMPO Q120 REST q TEMPO H60 REST q TEMPO E240 REST q", {"R 500", "R 500", "R 500"}},
        // I counts 1/64 of a quarter as a beat (but 1/32 as a length).
        {"TEMPO I960 REST q", {"R 4000"}},
        // A dotted beat: Q. is one and a half quarters.
        {"TEMPO Q.80 REST q", {"R 500"}},
        {"TEMPO h.20 REST q", {"R 1000"}},

        // TEMPO: only later letter lengths change.
        {"REST q TEMPO Q60 REST", {"R 500", "R 500"}},
        {"REST q TEMPO Q60 PLAY 1/1 REST q", {"R 500", "P 60", "D 500", "R 1000"}},
        {"TEMPO Q60 REST 2 ms REST", {"R 2", "R 2"}},

        // TEMPO: unusable tempos change nothing.
        {"TEMPO Q0 REST q", {"R 500"}},
        {"TEMPO Q-60 REST q", {"R 500"}},
        {"TEMPO Q REST q", {"R 500"}},
        {"TEMPO Q. REST q", {"R 500"}},
        {"TEMPO Qfast REST q", {"R 500"}},
        {"TEMPO 90 REST q", {"R 500"}},
        {"TEMPO", {}},
        // The word after TEMPO is the current word: a keyword there starts its statement.
        {"TEMPO REST q", {"R 500"}},

        // Value words are read with the comma as a separator.
        {"BASE 62,PLAY 1/1", {"P 62", "D 1000"}},
        {"TEMPO Q60,REST q", {"R 1000"}},
        // Inside PLAY a length letter with a comma is still one word: "q,h" is a quarter.
        {"PLAY 1/1 q,h", {"P 60", "D 500"}},

        // Settings last to the end of the script.
        {"PLAY @1 1/1 h PLAY 1/1 BASE 50 PLAY 1/1 PLAY @0 1/1",
         {"P 72", "D 1000", "P 72", "D 1000", "P 62", "D 1000", "P 50", "D 1000"}},

        // Unplayable ratios are left out without using a channel.
        // Zero terms and terms beyond 32 bits make no note (and are not taken as lengths).
        {"PLAY 0/1 1/0 4294967296/1 1/1", {"P 60", "D 1000"}},
        // Notes outside 0..127 are left out; the next note takes the free channel.
        {"PLAY 1/1 @10 3/2 @0 5/4", {"P 60 63", "D 1000"}},
        {"PLAY @-5 1/1 1/2", {"P 0", "D 1000"}},
        {"BASE 127 PLAY 1/1 3/2", {"P 127", "D 1000"}},
        // At both ends of the range: 51/1 above 60 is note 128, 48/1 note 127; 15/16 below a
        // base of 0 is note -1.
        {"PLAY 51/1 48/1 BASE 0 PLAY 15/16 1/1", {"P 127", "D 1000", "P 0", "D 1000"}},
        // Absurd bases and octaves are only out of range, never undefined arithmetic.
        {"BASE 1e300 PLAY 1/1 BASE 60 PLAY @2000000000 1/1 @-2000000000 1/1",
         {"P", "D 1000", "P", "D 1000"}},

        // The octave setting.
        {"PLAY 1/1 @1 1/1", {"P 60 72", "D 1000"}},
        {"PLAY @-1 1/1 @ 2 1/1 @1.9 1/1 @-1.9 1/1", {"P 48 84 72 48", "D 1000"}},

        // Words that are almost cents words. "5 c" is a length number whose unit is "c":
        // dropped, and the "c" consumed.
        {"PLAY 1/1 5 c 3/2 q", {"P 60 67", "D 500"}},
        // A digit after the c, or text after it, leaves the word a length number.
        {"PLAY 1/1 5c5 3/2 q 5cx 5/4", {"P 60", "D 500"}},
        // Words beginning with a sign or point that are not cents words are still ignored.
        {"PLAY 1/1 -5 - -c +c .c -5cx -5c3 q", {"P 60", "D 500"}},
        // Only inside PLAY: after REST and BASE a cents word reads as its number.
        {"REST 2c sec BASE 62c PLAY 1/1", {"R 2000", "P 62", "D 2000"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stepsOf(c.text), c.steps) << c.text;
}

TEST(CompilerBase, NumbersAndNoteNames)
{
    const auto chordNote = [](const char* text) {
        const Steps s = stepsOf(std::string(text) + " PLAY 1/1");
        return s.empty() ? std::string() : s.front();
    };
    EXPECT_EQ(chordNote("BASE 62"), "P 62");
    EXPECT_EQ(chordNote("BASE Hz"), "P 60");
    EXPECT_EQ(chordNote("BASE bb"), "P 70");
    EXPECT_EQ(chordNote("BASE C4"), "P 72");
    EXPECT_EQ(chordNote("BASE Bb-1"), "P 22");
    EXPECT_EQ(chordNote("BASE G#+1"), "P 44");
    EXPECT_EQ(chordNote("BASE X"), "P 60");
    EXPECT_EQ(chordNote("BASE Cx"), "P 60");
    // The fraction of a base has no effect on pitch.
    EXPECT_EQ(test::noteRecordsOf("BASE 60.9 PLAY 3/2"), test::noteRecordsOf("PLAY 3/2"));
    // The word after BASE is the current word.
    EXPECT_EQ(stepsOf("BASE PLAY 1/1"), (Steps{"P 60", "D 1000"}));
    EXPECT_EQ(stepsOf("BASE"), (Steps{}));
}

TEST(CompilerBase, EveryNoteName)
{
    struct Name {
        const char* name;
        int note;
    };
    const Name names[] = {
        {"A", 69},  {"A#", 70}, {"Bb", 70}, {"B", 71},  {"B#", 72}, {"Cb", 59}, {"C", 60},
        {"C#", 61}, {"Db", 61}, {"D", 62},  {"D#", 63}, {"Eb", 63}, {"E", 64},  {"E#", 65},
        {"Fb", 64}, {"F", 65},  {"F#", 66}, {"Gb", 66}, {"G", 67},  {"G#", 68}, {"Ab", 68},
    };
    for (const auto& n : names) {
        const std::string base = std::string("BASE ") + n.name;
        EXPECT_EQ(stepsOf(base + " PLAY 1/1")[0], "P " + std::to_string(n.note)) << n.name;
        // Octave 3 is the default: the same name with octave 2 is an octave lower.
        EXPECT_EQ(stepsOf(base + "2 PLAY 1/1")[0], "P " + std::to_string(n.note - 12)) << n.name;
    }
}

}  // namespace
}  // namespace tv
