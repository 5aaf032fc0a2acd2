// Latency of the built-in synthesizer service: from a note-on handed to send() to the first
// frame of the rendered stream in which the note sounds. An audio thread stands in for the
// sound card (no device is needed): every 5 ms it asks the service for one buffer of 240 frames
// at 48 kHz, as the RtAudio callback does. Goal: within one buffer.
//
// Wall-clock figures include how late the operating system wakes the stand-in audio thread on
// a busy machine; the count of notes that sounded in the first buffer rendered after their
// message is the service's own share.

#include "core/midi/MidiMessage.h"
#include "core/pitch/NumberText.h"
#include "platform/midi/BuiltinSynthService.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double rate = 48000;
constexpr unsigned bufferFrames = 240;
constexpr int trials = 200;

std::string fixed(double value, int decimals) { return tv::formatFixed(value, decimals); }

}  // namespace

int main()
{
    tv::BuiltinSynthService service(rate);
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(bufferFrames / rate));

    // Filled by the audio thread: when each buffer began (its messages were taken), and when
    // each note was first rendered.
    std::vector<Clock::time_point> buffers;
    buffers.reserve(20000);
    std::vector<Clock::time_point> rendered;
    rendered.reserve(trials);
    std::vector<double> wakeLateness;
    wakeLateness.reserve(20000);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> buffer(2 * bufferFrames);
        int sounding = 0;
        auto due = Clock::now();
        while (!stop.load()) {
            std::this_thread::sleep_until(due);
            due += period;
            // The queue is drained at the start of renderAudio, so a note that sounds in this
            // buffer sounds from its first frame.
            const auto drained = Clock::now();
            wakeLateness.push_back(
                std::chrono::duration<double, std::milli>(drained - (due - period)).count());
            buffers.push_back(drained);
            service.renderAudio(buffer.data(), bufferFrames);
            const int now = service.engine().activeVoices();
            if (now > sounding)
                rendered.push_back(drained);
            sounding = now;
        }
    });

    std::mt19937 random(7);
    std::uniform_int_distribution<int> gapMicroseconds(60000, 75000);
    std::vector<Clock::time_point> sent;
    sent.reserve(trials);
    for (int i = 0; i < trials; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(gapMicroseconds(random)));
        sent.push_back(Clock::now());
        service.send(tv::programChange(0, 73));
        service.send(tv::noteOn(0, 69, 90));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        service.send(tv::noteOff(0, 69));  // the 15 ms release ends well before the next note
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop = true;
    audio.join();

    if (rendered.size() != sent.size()) {
        std::cout << "notes sent " << sent.size() << ", notes rendered " << rendered.size()
                  << ": cannot pair them\n";
        return 1;
    }
    std::vector<double> latencies;
    int inNextBuffer = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        latencies.push_back(
            std::chrono::duration<double, std::milli>(rendered[i] - sent[i]).count());
        const auto next = std::upper_bound(buffers.begin(), buffers.end(), sent[i]);
        if (next != buffers.end() && *next == rendered[i])
            ++inNextBuffer;
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(wakeLateness.begin(), wakeLateness.end());
    const double bufferMs = 1000.0 * bufferFrames / rate;
    const auto at = [](const std::vector<double>& sorted, double fraction) {
        return sorted[static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1))];
    };
    std::cout << "Message to first rendered frame, " << trials << " notes, buffers of "
              << bufferFrames << " frames (" << fixed(bufferMs, 2) << " ms):\n"
              << "  median " << fixed(at(latencies, 0.5), 3) << " ms, 90% "
              << fixed(at(latencies, 0.9), 3) << " ms, 99% " << fixed(at(latencies, 0.99), 3)
              << " ms, worst " << fixed(latencies.back(), 3) << " ms\n"
              << "  notes that sounded in the first buffer after their message: " << inNextBuffer
              << " of " << trials << "\n"
              << "  lateness of the stand-in audio thread's wake-ups: median "
              << fixed(at(wakeLateness, 0.5), 3) << " ms, 99% " << fixed(at(wakeLateness, 0.99), 3)
              << " ms, worst " << fixed(wakeLateness.back(), 3) << " ms\n"
              << "  dropped messages: " << service.droppedMessages() << "\n"
              << "  goal: within one buffer (" << fixed(bufferMs, 2)
              << " ms): " << (inNextBuffer == trials ? "met" : "NOT met")
              << " in buffers; wall clock " << (latencies.back() <= bufferMs ? "within" : "beyond")
              << " it for the worst note\n";
    return 0;
}
