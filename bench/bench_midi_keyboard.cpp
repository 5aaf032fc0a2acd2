// From a keyboard's note-on bytes to the last byte the tuning method sends, in process: the
// input decoder, the keyboard player and each tuning method over an output that only keeps
// the time of its latest message.

#include "BenchTiming.h"
#include "core/lattice/Lattice.h"
#include "core/midi/MidiInputDecoder.h"
#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/tuning/MidiKeyboardPlayer.h"
#include "core/tuning/PitchOutput.h"
#include "core/tuning/TuningMethodVoices.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <memory>
#include <span>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class LastByteService : public tv::MidiService {
public:
    void send(std::uint32_t) override
    {
        last = Clock::now();
        ++count;
    }
    void sendBytes(std::span<const std::uint8_t>) override
    {
        last = Clock::now();
        ++count;
    }
    Clock::time_point last;
    long count = 0;
};

constexpr int presses = 20000;

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main()
{
    tv::Lattice lattice;
    lattice.loadDefaultScale();
    const tv::KeyScale scale(lattice);
    for (const tv::TuningKind kind :
         {tv::TuningKind::Bend, tv::TuningKind::Mts, tv::TuningKind::Mpe}) {
        auto service = std::make_shared<LastByteService>();
        tv::MidiOutput output(service);
        tv::PitchOutput pitches(output);
        pitches.setKind(kind);
        tv::TuningMethodVoices voices(pitches);
        tv::MidiKeyboardPlayer player(voices, scale);
        tv::MidiInputDecoder decoder;
        std::vector<std::uint32_t> messages;
        std::vector<double> ms;
        ms.reserve(presses);
        for (int i = 0; i < presses; ++i) {
            // Chords of three keys held over one another, so notes are also stolen.
            const std::uint8_t key = static_cast<std::uint8_t>(36 + (i * 7) % 60);
            const std::array<std::uint8_t, 3> on{0x90, key, 100};
            const long before = service->count;
            const auto start = Clock::now();
            messages.clear();
            decoder.decode(on.data(), on.size(), messages);
            for (const std::uint32_t message : messages)
                player.receive(message);
            if (service->count == before) {
                std::cerr << "key " << int(key) << " sent nothing\n";
                return 1;
            }
            ms.push_back(std::chrono::duration<double, std::milli>(service->last - start).count());
            if (i >= 2) {
                const std::uint8_t old = static_cast<std::uint8_t>(36 + ((i - 2) * 7) % 60);
                const std::array<std::uint8_t, 3> off{0x80, old, 0};
                messages.clear();
                decoder.decode(off.data(), off.size(), messages);
                for (const std::uint32_t message : messages)
                    player.receive(message);
            }
        }
        player.endAll();
        std::cout << tv::tuningWord(kind) << ": note-on to last output byte, median "
                  << tv::formatFixed(tv::bench::median(ms), 5) << " ms, p99 "
                  << tv::formatFixed(percentile(ms, 0.99), 5) << " ms (" << presses << " notes, "
                  << service->count << " messages)\n";
    }
    std::cout << "goal: median < 0.05 ms, p99 < 0.5 ms\n";
    return 0;
}
