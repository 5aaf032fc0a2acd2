#include "cli/BendRangeOption.h"
#include "cli/CliCommand.h"
#include "core/midi/BendRange.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"
#include "core/script/SteadyPlayerClock.h"
#include "core/synth/SynthWavRenderer.h"
#include "core/tuning/PitchOutput.h"
#include "platform/midi/MidiDevices.h"
#include "platform/midi/RealtimePriority.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

namespace tv::cli {
namespace {

// Reads and compiles a script, the compiler's messages going to stderr; null (after a
// message) when the file cannot be read.
std::shared_ptr<const CompiledScript> loadScript(const std::string& path)
{
    std::string text;
    if (!readText(path, text))
        return nullptr;
    CompileResult result = compileScript(text);
    for (const auto& message : result.messages)
        std::cerr << message << '\n';
    return std::move(result.code);
}

// The player's messages go through the tuning method, as those of the program's players do:
// byte code holds channels and bends for the default range, and the method turns them into
// what the synthesizer is to hear.
class TunedService : public MidiService {
public:
    explicit TunedService(PitchOutput& output) : output_(output) {}
    void send(std::uint32_t packed) override { output_.method().sendScriptMessage(packed, this); }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        output_.midi().sendBytes(message);
    }

private:
    PitchOutput& output_;
};

// Plays the code `repeat` times, one run after the other, on the calling thread. The runs
// share one channel table as the players of the program do. Any clock will do: the steady
// clock plays in real time, a rendering clock produces audio offline.
void playRepeated(const CompiledScript& code, MidiService& device, PlayerClock& clock,
                  long long repeat, const BendRangeChoice& range)
{
    // The device stays its owner's: the output only borrows it.
    MidiOutput output(std::shared_ptr<MidiService>(std::shared_ptr<void>(), &device));
    // The range reaches every channel before the first note, as it does in the program.
    output.setBendRange(range.semitones, range.sendAlways);
    PitchOutput pitches(output);
    pitches.setKind(range.tuning);
    TunedService service(pitches);
    ChannelNoteTable channelNotes;
    const PlayerReporter reporter = [](std::string_view message) {
        std::cerr << "tonalvane-cli: " << message << '\n';
    };
    for (long long run = 0; run < repeat; ++run)
        runScript(code, service, channelNotes, clock, reporter);
}

// Renders the runs into a WAV file with the built-in synthesizer instead of playing them:
// the same player and timing, with a clock that renders audio up to each due time.
int renderWav(const CompiledScript& code, long long repeat, const std::string& path, long long rate,
              WavSampleFormat format, const BendRangeChoice& range)
{
    SynthWavRenderer renderer(static_cast<std::uint32_t>(rate));
    std::string error;
    if (renderer.open(path, format, error)) {
        playRepeated(code, renderer, renderer, repeat, range);
        renderer.renderTail(2.0);  // let the last releases die away
        if (renderer.finish(error))
            return exitOk;
    }
    std::cerr << "tonalvane-cli: " << error << '\n';
    return exitFailed;
}

int play(const Arguments& given)
{
    Arguments args = given;
    long long repeat = 1;
    BendRangeChoice range;
    if (!takeIntOption(args, "--repeat", repeat, 1, 1000000) || !takeBendRangeOptions(args, range))
        return exitUsage;
    std::string wavPath;
    long long rate = 0;
    if (!takeStringOption(args, "--wav", wavPath) ||
        !takeIntOption(args, "--rate", rate, 8000, 192000))
        return exitUsage;
    const auto floatFlag = std::find(args.begin(), args.end(), "--float");
    const bool floatSamples = floatFlag != args.end();
    if (floatSamples)
        args.erase(floatFlag);
    if (wavPath.empty() && (rate != 0 || floatSamples))
        return usageError("--rate and --float go with --wav");
    if (args.size() != 1)
        return usageError("play takes one script FILE, or - for standard input");

    const auto code = loadScript(args[0]);
    if (!code)
        return exitFailed;
    if (!wavPath.empty())
        return renderWav(*code, repeat, wavPath, rate != 0 ? rate : 48000,
                         floatSamples ? WavSampleFormat::Float32 : WavSampleFormat::Pcm16, range);

    std::string error;
    const std::shared_ptr<MidiService> service = openMidiOutput(error);
    const char* choice = std::getenv("TONALVANE_MIDI_OUT");
    const bool deviceWanted = !(choice && std::string(choice) == "none");
    if (!error.empty())
        std::cerr << "tonalvane-cli: " << error << '\n';
    if (!service)
        return exitFailed;

    // The script plays on this thread, which keeps better time real-time where allowed.
    makeThreadRealtime();
    SteadyPlayerClock clock;
    playRepeated(*code, *service, clock, repeat, range);
    service->close();
    return error.empty() || !deviceWanted ? exitOk : exitFailed;
}

const std::string playHelp =
    std::string(
        "    Compiles the script in FILE (- for standard input) and plays it on MIDI device 0,\n"
        "    N times one after the other (default 1); returns when it has ended.\n"
        "    With --wav, renders it with the built-in synthesizer into OUT.wav instead, faster\n"
        "    than real time and with no audio device: 16-bit stereo (32-bit float with --float)\n"
        "    at HZ samples a second (default 48000).\n") +
    bendRangeHelp;

const CliRegistration playRegistration({
    "play",
    "play FILE [--repeat N] [--wav OUT.wav [--rate HZ] [--float]] [--tuning bend|mts|mpe] "
    "[--bend-range N [--send-range]]",
    playHelp.c_str(),
    41,
    &play,
});

}  // namespace
}  // namespace tv::cli
