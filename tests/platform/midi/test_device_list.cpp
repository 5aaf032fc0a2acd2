// Where the built-in synthesizer stands in the list of MIDI outputs, and how it is chosen.

#include "platform/midi/BuiltinSynthService.h"
#include "platform/midi/MidiDevices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

using Kind = MidiOutputInfo::Kind;

const std::string builtinName = "Tonalvane built-in synthesizer";

std::vector<std::string> names(const std::vector<MidiOutputInfo>& outputs)
{
    std::vector<std::string> out;
    for (const auto& output : outputs)
        out.push_back(output.name);
    return out;
}

TEST(MidiDeviceList, TheBuiltinSynthesizerComesAfterEveryPortAndIsDeviceZeroWithoutOne)
{
    const auto outputs = withBuiltinSynthesizer(
        {{Kind::Alsa, "FLUID Synth (1234):Synth input port (1234:0) 128:0", 2},
         {Kind::Alsa, "USB Keys:USB Keys MIDI 1 24:0", 5}});
    EXPECT_EQ(names(outputs),
              (std::vector<std::string>{"FLUID Synth (1234):Synth input port (1234:0) 128:0",
                                        "USB Keys:USB Keys MIDI 1 24:0", builtinName}));
    EXPECT_EQ(outputs.back().kind, Kind::Builtin);
    EXPECT_EQ(outputs.front().portIndex, 2u);  // the ports themselves are unchanged
    // Device 0 is the first port.
    ASSERT_NE(chooseMidiOutput(outputs, ""), nullptr);
    EXPECT_EQ(chooseMidiOutput(outputs, "")->portIndex, 2u);
    EXPECT_EQ(chooseMidiOutput(outputs, "")->kind, Kind::Alsa);

    // With no port, the built-in synthesizer is device 0.
    const auto alone = withBuiltinSynthesizer({});
    ASSERT_EQ(alone.size(), 1u);
    ASSERT_NE(chooseMidiOutput(alone, ""), nullptr);
    EXPECT_EQ(chooseMidiOutput(alone, "")->kind, Kind::Builtin);
    EXPECT_EQ(std::string(BuiltinSynthService::deviceName), builtinName);
}

TEST(MidiDeviceList, TheEnvironmentChoosesByNameOrBuiltin)
{
    const auto outputs =
        withBuiltinSynthesizer({{Kind::Jack, "tvcapture:in", 0}, {Kind::Jack, "synth:midi_in", 1}});
    const auto chosen = [&](const std::string& choice) {
        const MidiOutputInfo* output = chooseMidiOutput(outputs, choice);
        return output ? output->name : std::string("(none)");
    };
    EXPECT_EQ(chosen("builtin"), builtinName);
    EXPECT_EQ(chosen("built-in"), builtinName);   // a part of its name, as for any output
    EXPECT_EQ(chosen("synth"), "synth:midi_in");  // the first match, not the built-in one
    EXPECT_EQ(chosen("capture"), "tvcapture:in");
    EXPECT_EQ(chosen("no-such-port"), "(none)");
    EXPECT_EQ(chosen("Builtin"), "(none)");  // names compare with their case
}

TEST(MidiDeviceList, TheOutputOfTheLastSessionIsUsedOnlyWhenItIsThere)
{
    const auto outputs =
        withBuiltinSynthesizer({{Kind::Alsa, "Synth A", 0}, {Kind::Alsa, "Synth AB", 1}});
    const auto preferred = [&](const std::string& name) {
        const MidiOutputInfo* output = preferredMidiOutput(outputs, name);
        return output ? output->name : std::string("(none)");
    };
    EXPECT_EQ(preferred("Synth AB"), "Synth AB");
    EXPECT_EQ(preferred(builtinName), builtinName);
    // The whole name, not a part of it; otherwise device 0.
    EXPECT_EQ(preferred("Synth"), "Synth A");
    EXPECT_EQ(preferred("Gone"), "Synth A");
    EXPECT_EQ(preferred(""), "Synth A");
    EXPECT_EQ(preferredMidiOutput({}, "Synth A"), nullptr);
}

}  // namespace
}  // namespace tv
