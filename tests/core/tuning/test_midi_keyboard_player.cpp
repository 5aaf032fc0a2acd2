// Notes from a MIDI keyboard through a stand-in tuning method that logs what it is asked.

#include "core/lattice/Lattice.h"
#include "core/midi/MidiMessage.h"
#include "core/tuning/MidiKeyboardPlayer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tv {
namespace {

// Slot s sounds on channel s (or all on channel 0 when `shared`), tuned by a bend of
// 4192 + 5000 s unless `bends` is off.
class LoggedVoices : public KeyboardVoices {
public:
    int limit = 4;
    bool bends = true;
    bool shared = false;
    std::vector<std::string> log;

    int polyphony() const override { return limit; }
    std::optional<KeyboardVoice> start(const KeyPitch& pitch, std::uint8_t velocity,
                                       int slot) override
    {
        std::ostringstream line;
        line << "on " << slot << ' ' << pitch.degree.numerator << '/' << pitch.degree.denominator
             << ' ' << pitch.octave << ' ' << int(velocity);
        log.push_back(line.str());
        KeyboardVoice voice{static_cast<std::uint8_t>(shared ? 0 : slot),
                            static_cast<std::uint8_t>(60 + slot), std::nullopt};
        if (bends)
            voice.tuningBend = 4192 + 5000 * slot;
        return voice;
    }
    void end(const KeyboardVoice& voice) override
    {
        log.push_back("off " + std::to_string(voice.channel) + ' ' + std::to_string(voice.key));
    }
    void send(std::uint32_t packed) override { log.push_back(messageHex(packed)); }
};

std::uint32_t parseMessage(const std::string& hex)
{
    std::istringstream in(hex);
    unsigned bytes[3] = {0, 0, 0};
    for (unsigned& byte : bytes)
        in >> std::hex >> byte;
    return packMessage(bytes[0], bytes[1], bytes[2]);
}

// 1/1, 5/4, 3/2: by default key 60 plays 1/1, 61 5/4, 62 3/2, 63 2/1, 59 3/2 an octave down.
KeyScale threeNotes()
{
    Lattice lattice;
    lattice.addRatio("", 5, 4);
    lattice.addRatio("", 3, 2);
    return KeyScale(lattice);
}

struct PlayCase {
    const char* what;
    std::vector<std::string> input;
    std::vector<std::string> expected;
    int polyphony = 4;
    bool bends = true;
    bool shared = false;
};

TEST(MidiKeyboardPlayer, PlaysTheKeyboardThroughTheTuningMethod)
{
    const PlayCase cases[] = {
        {"the default mapping; a note-on of velocity 0 ends a note",
         {"90 3d 64", "80 3d 00", "90 3b 50", "90 3f 7f", "90 3b 00", "c0 05", "80 3f 40"},
         {"on 0 5/4 0 100", "off 0 60", "on 0 3/2 -1 80", "on 1 1/1 1 127", "off 0 60",
          "off 1 61"}},
        {"a release while the pedal is down holds the note until the pedal is up",
         {"90 3c 64", "b0 40 7f", "80 3c 00", "90 3e 64", "80 3e 00", "90 3d 64", "b0 40 3f",
          "80 3d 00"},
         {"on 0 1/1 0 100", "on 1 3/2 0 100", "on 2 5/4 0 100", "off 0 60", "off 1 61",
          "off 2 62"}},
        {"a held key struck again restarts; the pedal does not reach the synthesizer",
         {"b0 40 40", "90 3c 64", "80 3c 00", "90 3c 20", "b0 40 00", "80 3c 00"},
         {"on 0 1/1 0 100", "off 0 60", "on 0 1/1 0 32", "off 0 60"}},
        {"one note more than the polyphony ends the oldest and takes its slot",
         {"90 3c 64", "90 3d 64", "90 3e 64", "80 3d 00", "90 3f 64"},
         {"on 0 1/1 0 100", "on 1 5/4 0 100", "off 0 60", "on 0 3/2 0 100", "off 1 61",
          "on 1 1/1 1 100"},
         2},
        {"controllers and pressure go to each channel in use, key pressure to its note",
         {"b0 01 40", "90 3c 64", "90 3d 64", "b5 01 40", "d0 30", "a0 3d 11", "b0 7b 00"},
         {"on 0 1/1 0 100", "on 1 5/4 0 100", "b0 01 40", "b1 01 40", "d0 30", "d1 30", "a1 3d 11",
          "off 0 60", "off 1 61"}},
        {"the keyboard's bend adds to each tuning bend, held to 14 bits",
         {"90 3c 64", "90 3d 64", "e0 00 50", "e0 7f 7f", "e0 00 00", "90 3e 64", "e0 00 40"},
         {"on 0 1/1 0 100", "on 1 5/4 0 100", "e0 60 30", "e1 68 57", "e0 5f 60", "e1 7f 7f",
          "e0 00 00", "e1 68 07", "on 2 3/2 0 100", "e2 70 2e", "e0 60 20", "e1 68 47", "e2 70 6e"},
         4},
        {"without tuning bends the keyboard's bend goes once to each channel as it came",
         {"e0 00 50", "90 3c 64", "90 3d 64", "e0 01 41", "d0 10"},
         {"on 0 1/1 0 100", "e0 00 50", "on 1 5/4 0 100", "e0 00 50", "e0 01 41", "d0 10"},
         4,
         false,
         true},
    };
    for (const PlayCase& c : cases) {
        LoggedVoices voices;
        voices.limit = c.polyphony;
        voices.bends = c.bends;
        voices.shared = c.shared;
        MidiKeyboardPlayer player(voices, threeNotes());
        for (const std::string& message : c.input)
            player.receive(parseMessage(message));
        EXPECT_EQ(voices.log, c.expected) << c.what;
    }
}

TEST(MidiKeyboardPlayer, EndsEveryNoteWhenToldOrDestroyedAndFollowsTheMapping)
{
    LoggedVoices voices;
    {
        // Keys 60..62 play degrees 2, unmapped, 1; 63 repeats the map an octave (3 degrees) up.
        MidiKeyboardPlayer player(voices, threeNotes(),
                                  KeyboardMapping{.size = 3,
                                                  .octaveDegree = 3,
                                                  .entries = {2, KeyboardMapping::unmapped, 1}});
        for (const char* message : {"90 3c 64", "90 3d 64", "90 3e 64", "b0 40 7f", "80 3e 00"})
            player.receive(parseMessage(message));
        EXPECT_EQ(player.soundingKeys(), (std::vector<int>{60, 62}));
        player.endAll();
        EXPECT_TRUE(player.soundingKeys().empty());
        // The pedal came up with endAll: a release ends the note at once.
        player.setScale(KeyScale(), KeyboardMapping{});
        player.receive(parseMessage("90 3f 64"));
        player.receive(parseMessage("80 3f 00"));
        player.receive(parseMessage("90 3e 64"));
    }
    EXPECT_EQ(voices.log, (std::vector<std::string>{"on 0 3/2 0 100", "on 1 5/4 0 100", "off 0 60",
                                                    "off 1 61", "on 0 1/1 3 100", "off 0 60",
                                                    "on 0 1/1 2 100", "off 0 60"}));
}

}  // namespace
}  // namespace tv
