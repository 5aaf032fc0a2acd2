// Each tuning method: the bytes it puts on the wire per note, and the time from a lattice
// press (the chord's pitches handed to the core) to the last byte of a 16-note chord.

#include "BenchTiming.h"
#include "core/midi/MidiMessage.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Counts bytes and notes the time of the last one, as a device would receive them.
struct WireService : tv::MidiService {
    std::size_t bytes = 0;
    Clock::time_point last;
    void send(std::uint32_t packed) override
    {
        bytes += static_cast<std::size_t>(tv::messageLength(packed));
        last = Clock::now();
    }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        bytes += message.size();
        last = Clock::now();
    }
};

}  // namespace

int main()
{
    const std::vector<tv::ExactPitch> sixteen = [] {
        std::vector<tv::ExactPitch> pitches;
        for (std::uint32_t n = 17; n <= 32; ++n)
            pitches.push_back(tv::ExactPitch::ratio(n, 16));
        return pitches;
    }();
    std::printf("Per method: bytes per note (start and end of one note of a 16-note chord), and\n"
                "a 16-note chord from the press to its last byte (median, worst of 2000):\n");
    for (const tv::TuningKind kind :
         {tv::TuningKind::Bend, tv::TuningKind::Mts, tv::TuningKind::Mpe}) {
        auto wire = std::make_shared<WireService>();
        tv::MidiOutput output(wire);
        tv::PitchOutput pitches(output);
        pitches.setKind(kind);
        tv::PitchChord chord(pitches);
        const int notes = std::min<int>(16, pitches.method().maxChordNotes());

        std::vector<double> times;
        std::size_t bytes = 0;
        for (int run = 0; run < 2000; ++run) {
            const std::size_t before = wire->bytes;
            const auto start = Clock::now();
            chord.release();
            chord.clear();
            for (int k = 0; k < notes; ++k)
                chord.add(sixteen[static_cast<std::size_t>(k)]);
            chord.play(0);
            times.push_back(std::chrono::duration<double, std::milli>(wire->last - start).count());
            bytes = wire->bytes - before;
        }
        chord.release();
        std::printf("  %-4s %2d notes: %5.1f bytes a note; press to last byte %.4f ms (worst "
                    "%.4f ms)\n",
                    std::string(tv::tuningWord(kind)).c_str(), notes,
                    static_cast<double>(bytes) / notes, tv::bench::median(times),
                    *std::max_element(times.begin(), times.end()));
    }
    return 0;
}
