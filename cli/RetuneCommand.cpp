#include "cli/BendRangeOption.h"
#include "cli/CliCommand.h"
#include "cli/KeyboardMappingArgument.h"
#include "core/lattice/Lattice.h"
#include "core/midi/MidiOutput.h"
#include "core/tuning/KeyboardMapping.h"
#include "core/tuning/MidiKeyboardPlayer.h"
#include "core/tuning/PitchOutput.h"
#include "core/tuning/TuningMethodVoices.h"
#include "platform/midi/MidiDevices.h"
#include "platform/midi/RtMidiInput.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <mutex>
#include <thread>

namespace tv::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

// Plays what the input delivers at once, on the backend's thread; a lost port only raises a
// flag for the main loop.
class RetuneHandler : public MidiInputHandler {
public:
    explicit RetuneHandler(MidiKeyboardPlayer& player) : player_(player) {}
    void midiReceived(const std::uint32_t* messages, std::size_t count) override
    {
        for (std::size_t i = 0; i < count; ++i)
            player_.receive(messages[i]);
    }
    void inputLost(const std::string& message) override
    {
        std::lock_guard lock(mutex_);
        lostMessage_ = message;
        lost_ = true;
    }
    bool lost() const { return lost_.load(); }
    std::string lostMessage() const
    {
        std::lock_guard lock(mutex_);
        return lostMessage_;
    }

private:
    MidiKeyboardPlayer& player_;
    mutable std::mutex mutex_;
    std::string lostMessage_;
    std::atomic<bool> lost_{false};
};

std::shared_ptr<MidiService> openOutput(const std::string& name, std::string& error)
{
    if (name.empty())
        return openMidiOutput(error);
    const auto outputs = listMidiOutputs();
    const MidiOutputInfo* output = chooseMidiOutput(outputs, name);
    if (!output) {
        error = "No MIDI output matches \"" + name + "\".";
        return nullptr;
    }
    return openMidiDevice(*output, error);
}

int retune(const Arguments& given)
{
    Arguments args = given;
    std::string mappingPath, inputName, outputName;
    BendRangeChoice range;
    if (!takeStringOption(args, "--kbm", mappingPath) ||
        !takeStringOption(args, "--in", inputName) ||
        !takeStringOption(args, "--out", outputName) || !takeBendRangeOptions(args, range))
        return exitUsage;
    if (args.size() != 1)
        return usageError("retune needs one scale file");

    Lattice lattice;
    KeyboardMapping mapping;
    if (!loadKeyboardScale(args[0], lattice) ||
        (!mappingPath.empty() && !loadKeyboardMapping(mappingPath, mapping)))
        return exitFailed;

    const auto inputs = listMidiInputs();
    const MidiInputInfo* input = chooseMidiInput(inputs, inputName);
    if (!input) {
        std::cerr << "tonalvane-cli: "
                  << (inputName.empty() ? std::string("No MIDI input is available.")
                                        : "No MIDI input matches \"" + inputName + "\".")
                  << '\n';
        return exitFailed;
    }
    std::string error;
    const std::shared_ptr<MidiService> service = openOutput(outputName, error);
    if (!service) {
        std::cerr << "tonalvane-cli: " << (error.empty() ? "No MIDI output." : error) << '\n';
        return exitFailed;
    }
    MidiOutput output(service);
    output.setBendRange(range.semitones, range.sendAlways);
    PitchOutput pitches(output);
    pitches.setKind(range.tuning);
    TuningMethodVoices voices(pitches);
    MidiKeyboardPlayer player(voices, KeyScale(lattice), mapping);
    RetuneHandler handler(player);

    std::signal(SIGINT, &onInterrupt);
    std::signal(SIGTERM, &onInterrupt);
    auto keyboard = RtMidiInput::open(*input, handler, error);
    if (!keyboard) {
        std::cerr << "tonalvane-cli: " << error << '\n';
        service->close();
        return exitFailed;
    }
    std::cerr << "Retuning \"" << input->name << "\"; Ctrl+C ends.\n";
    int status = exitOk;
    for (int tick = 0; !interrupted; ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (tick % 25 == 0)
            keyboard->checkPresent();
        if (handler.lost()) {
            std::cerr << "tonalvane-cli: " << handler.lostMessage() << '\n';
            status = exitFailed;
            break;
        }
    }
    keyboard->close();
    player.endAll();
    service->close();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return status;
}

const std::string retuneHelp =
    std::string(
        "    Plays what a MIDI keyboard sends in the scale's pitches, key 60 = 1/1 or as the\n"
        "    keyboard mapping FILE places them, until interrupted (Ctrl+C ends every sounding\n"
        "    note first). NAME picks the first input or output whose name contains it (by\n"
        "    default the first input and device 0).\n") +
    bendRangeHelp;

const CliRegistration retuneRegistration({
    "retune",
    "retune SCALE.scl [--kbm FILE] [--in NAME] [--out NAME] [--tuning bend|mts|mpe] "
    "[--bend-range N [--send-range]]",
    retuneHelp.c_str(),
    47,
    &retune,
});

}  // namespace
}  // namespace tv::cli
