// Key press to sound: the time from ScriptPlayers::start() (what a key press calls) to the
// first MIDI byte handed to the device, over many presses one after the other, each on an
// idle pool. Measured for the pool with default scheduling, for the pool whose threads ran
// the real-time start hook, and, for comparison, for a thread started per press.
// Goal: median under 0.2 ms.

#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/pitch/NumberText.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"
#include "core/script/ScriptPlayers.h"
#include "core/script/SteadyPlayerClock.h"
#include "core/tuning/PitchOutput.h"
#include "platform/midi/RealtimePriority.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int presses = 2000;

// Notes when the first message after being armed arrives.
class FirstByteService : public tv::MidiService {
public:
    void arm() { armed_.store(true, std::memory_order_release); }
    void send(std::uint32_t) override
    {
        if (armed_.exchange(false, std::memory_order_acq_rel)) {
            first_ = Clock::now();
            arrived_.store(true, std::memory_order_release);
        }
    }
    void sendBytes(std::span<const std::uint8_t>) override { send(0); }
    // Spins until the first message has come; its time.
    Clock::time_point waitFirst()
    {
        while (!arrived_.load(std::memory_order_acquire))
            std::this_thread::yield();
        arrived_.store(false, std::memory_order_relaxed);
        return first_;
    }

private:
    std::atomic<bool> armed_{false};
    std::atomic<bool> arrived_{false};
    Clock::time_point first_{};
};

double percentile(const std::vector<double>& sorted, double p)
{
    const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[index];
}

void report(const std::string& what, std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    std::cout << what << ": median " << tv::formatFixed(percentile(us, 0.5), 1) << " us  p99 "
              << tv::formatFixed(percentile(us, 0.99), 1) << " us  max "
              << tv::formatFixed(us.back(), 1) << " us\n";
}

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

std::vector<double> poolPresses(const std::shared_ptr<const tv::CompiledScript>& code,
                                bool realTime, std::string& grantName)
{
    auto service = std::make_shared<FirstByteService>();
    tv::MidiOutput output(service);
    tv::PitchOutput pitches(output);
    tv::ScriptPlayers players(pitches);
    std::atomic<int> grant{-1};
    if (realTime) {
        players.setThreadStartHook(
            [&grant] { grant.store(static_cast<int>(tv::makeThreadRealtime())); });
        // Let the waiting threads run the hook before the first press.
        std::this_thread::sleep_for(100ms);
    }
    std::vector<double> us;
    us.reserve(presses);
    for (int i = 0; i < presses; ++i) {
        service->arm();
        const auto press = Clock::now();
        players.start(code);
        us.push_back(microseconds(service->waitFirst() - press));
        players.waitAll();
        std::this_thread::sleep_for(200us);  // the pool's threads back asleep
    }
    if (realTime)
        grantName = grant.load() < 0
                        ? "hook not run"
                        : tv::realtimeGrantName(static_cast<tv::RealtimeGrant>(grant.load()));
    return us;
}

std::vector<double> threadPerPress(const std::shared_ptr<const tv::CompiledScript>& code)
{
    FirstByteService service;
    tv::ChannelNoteTable channelNotes;
    std::vector<double> us;
    us.reserve(presses);
    for (int i = 0; i < presses; ++i) {
        service.arm();
        const auto press = Clock::now();
        std::thread player([&] {
            tv::SteadyPlayerClock clock;
            tv::runScript(*code, service, channelNotes, clock, {});
        });
        us.push_back(microseconds(service.waitFirst() - press));
        player.join();
        std::this_thread::sleep_for(200us);
    }
    return us;
}

}  // namespace

int main()
{
    const auto code = tv::compileScript("PLAY 1/1 3/2 1 ms").code;
    std::cout << presses << " presses, each from an idle pool (" << tv::ScriptPlayers::readyThreads
              << " threads started ahead)\n";
    std::string grant;
    report("pool, default scheduling", poolPresses(code, false, grant));
    const auto realTime = poolPresses(code, true, grant);
    report("pool, real-time hook (" + grant + ")", realTime);
    report("a thread started per press", threadPerPress(code));
    std::cout << "goal: median < 200 us\n";
    return 0;
}
