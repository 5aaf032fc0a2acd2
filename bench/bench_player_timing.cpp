// Timing of a script player thread: a script of 600 steps (chords of 50 and 100 ms and
// rests) played by a pool player, started as a key press starts it, into a service that
// stamps each message with the steady clock. Each stamp is compared with the message's due
// time, taken from a run of the same code against a clock that only counts: the onset
// lateness. Goals: 99th percentile under 0.3 ms on an idle machine, under 1 ms while a
// parallel build runs; drift at the end under 1 ms.
//
// The script is played twice: with the default scheduling that players get, and with the
// program's thread start hook, which asks for real-time scheduling where the system allows
// it. On a busy machine the difference is how late the scheduler wakes a player.

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

std::string fixed(double value, int decimals) { return tv::formatFixed(value, decimals); }

// Stamps messages into storage reserved up front: the player thread never waits on it.
class StampingService : public tv::MidiService {
public:
    explicit StampingService(std::size_t capacity) : stamps_(capacity) {}
    void send(std::uint32_t) override
    {
        const std::size_t i = count_.load(std::memory_order_relaxed);
        if (i < stamps_.size())
            stamps_[i] = Clock::now();
        count_.store(i + 1, std::memory_order_release);
    }
    void sendBytes(std::span<const std::uint8_t>) override { send(0); }
    std::size_t count() const { return count_.load(std::memory_order_acquire); }
    const std::vector<Clock::time_point>& stamps() const { return stamps_; }

private:
    std::vector<Clock::time_point> stamps_;
    std::atomic<std::size_t> count_{0};
};

// The due time of every message: the clock jumps to each due time and is read at each send.
class CountingClock : public tv::PlayerClock {
public:
    tv::PlayerTime now() override { return current; }
    bool waitUntil(tv::PlayerTime due) override
    {
        current = std::max(current, due);
        return true;
    }
    tv::PlayerTime current{0};
};

class DueService : public tv::MidiService {
public:
    explicit DueService(const CountingClock& clock) : clock_(clock) {}
    void send(std::uint32_t) override { due.push_back(clock_.current); }
    void sendBytes(std::span<const std::uint8_t>) override { send(0); }
    std::vector<tv::PlayerTime> due;

private:
    const CountingClock& clock_;
};

double percentile(std::vector<double> sorted, double p)
{
    if (sorted.empty())
        return 0;
    const auto index = static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[index];
}

void playAndReport(const std::shared_ptr<const tv::CompiledScript>& code,
                   const std::vector<tv::PlayerTime>& dueTimes, double totalMs, bool realTime)
{
    auto stamping = std::make_shared<StampingService>(dueTimes.size() + 16);
    tv::MidiOutput output(stamping);
    tv::PitchOutput pitches(output);
    tv::ScriptPlayers players(pitches);
    std::atomic<int> granted{-1};
    if (realTime) {
        players.setThreadStartHook(
            [&granted] { granted = static_cast<int>(tv::makeThreadRealtime()); });
        // The waiting threads run the hook before the press.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const Clock::time_point start = Clock::now();
    players.start(code);
    players.waitAll();
    const Clock::time_point end = Clock::now();

    if (stamping->count() != dueTimes.size()) {
        std::cerr << "bench_player_timing: " << stamping->count() << " messages, expected "
                  << dueTimes.size() << '\n';
        return;
    }
    std::vector<double> errors;
    errors.reserve(dueTimes.size());
    for (std::size_t i = 0; i < dueTimes.size(); ++i) {
        const auto due = start + std::chrono::duration_cast<Clock::duration>(dueTimes[i]);
        errors.push_back(
            std::chrono::duration<double, std::micro>(stamping->stamps()[i] - due).count());
    }
    // The player counts its due times from its own start, just before its first message;
    // from the key press they also hold the thread's start-up.
    const double threadStart = errors.front();
    std::vector<double> fromPlayer;
    for (const double e : errors)
        fromPlayer.push_back(e - threadStart);
    std::vector<double> sortedPlayer = fromPlayer;
    std::sort(sortedPlayer.begin(), sortedPlayer.end());
    std::vector<double> sortedPress = errors;
    std::sort(sortedPress.begin(), sortedPress.end());
    const double endFromPlayer =
        std::chrono::duration<double, std::milli>(end - stamping->stamps().front()).count() -
        totalMs;

    const auto line = [](const std::vector<double>& sorted) {
        return "median " + fixed(percentile(sorted, 0.5), 0) + "  p99 " +
               fixed(percentile(sorted, 0.99), 0) + "  max " + fixed(sorted.back(), 0);
    };
    std::cout << (realTime ? std::string("real-time hook: ") +
                                 (granted < 0 ? "not run"
                                              : tv::realtimeGrantName(
                                                    static_cast<tv::RealtimeGrant>(granted.load())))
                           : std::string("default scheduling"))
              << ":\n"
              << "  thread start (key press to first message): " << fixed(threadStart, 0) << " us\n"
              << "  onset lateness from the player's start, us: " << line(sortedPlayer) << "\n"
              << "  drift at the end: last message " << fixed(fromPlayer.back() / 1000, 3)
              << " ms; player ended (joined) " << fixed(endFromPlayer, 3)
              << " ms after the script's length\n"
              << "  error from the key press, us: " << line(sortedPress) << "\n";
}

}  // namespace

int main()
{
    // 120 rounds of 5 steps: a 50 ms chord (chord-on and chord-length), a 100 ms chord, a rest.
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "PLAY 1/1 5/4 50 ms\r\nPLAY 3/2 100 ms\r\nREST 30 ms\r\n";
    const auto code = tv::compileScript(text).code;

    CountingClock countingClock;
    DueService dueService(countingClock);
    tv::ChannelNoteTable dueTable;
    tv::runScript(*code, dueService, dueTable, countingClock, {});
    const double totalMs = std::chrono::duration<double, std::milli>(countingClock.current).count();

    std::cout << "script: 600 steps, " << dueService.due.size() << " messages, "
              << fixed(totalMs / 1000, 1) << " s\n";
    playAndReport(code, dueService.due, totalMs, false);
    playAndReport(code, dueService.due, totalMs, true);
    std::cout << "yield margin " << tv::SteadyPlayerClock::defaultYieldMargin.count() / 1000
              << " us; goals: p99 < 300 us idle, < 1000 us under load; drift < 1 ms\n";
    return 0;
}
