#include "cli/CliCommand.h"
#include "core/midi/MidiService.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"
#include "core/script/SteadyPlayerClock.h"
#include "core/synth/SynthWavRenderer.h"
#include "platform/midi/MidiDevices.h"
#include "platform/midi/RealtimePriority.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

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

// Plays the code `repeat` times, one run after the other, on the calling thread. The runs
// share one channel table as the players of the program do. Any clock will do: the steady
// clock plays in real time, a rendering clock produces audio offline.
void playRepeated(const CompiledScript& code, MidiService& service, PlayerClock& clock,
                  long long repeat)
{
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
              WavSampleFormat format)
{
    SynthWavRenderer renderer(static_cast<std::uint32_t>(rate));
    std::string error;
    if (renderer.open(path, format, error)) {
        playRepeated(code, renderer, renderer, repeat);
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
    if (!takeIntOption(args, "--repeat", repeat, 1, 1000000))
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
                         floatSamples ? WavSampleFormat::Float32 : WavSampleFormat::Pcm16);

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
    playRepeated(*code, *service, clock, repeat);
    service->close();
    return error.empty() || !deviceWanted ? exitOk : exitFailed;
}

const CliRegistration registration({
    "play",
    "play FILE [--repeat N] [--wav OUT.wav [--rate HZ] [--float]]",
    "    Compiles the script in FILE (- for standard input) and plays it on MIDI device 0,\n"
    "    N times one after the other (default 1); returns when it has ended.\n"
    "    With --wav, renders it with the built-in synthesizer into OUT.wav instead, faster\n"
    "    than real time and with no audio device: 16-bit stereo (32-bit float with --float)\n"
    "    at HZ samples a second (default 48000).\n",
    41,
    &play,
});

}  // namespace
}  // namespace tv::cli
