#include "core/midi/MidiOutput.h"
#include "core/script/PlayerStopSignal.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "core/script/SteadyPlayerClock.h"
#include "core/tuning/PitchOutput.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace tv {
namespace {

using namespace std::chrono_literals;

std::size_t countOf(const std::vector<std::string>& hex, const std::string& message)
{
    return static_cast<std::size_t>(std::count(hex.begin(), hex.end(), message));
}

TEST(ScriptPlayers, ManyPlayersAtOnceShareTheChannelTable)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    constexpr int players = 24;
    for (int i = 0; i < players; ++i) {
        // Each player holds the only reference to its code.
        ASSERT_TRUE(threads.start(compileScript("PLAY 1/1 3/2 5 ms PLAY 5/4 5 ms REST 1 ms").code));
    }
    threads.waitAll();
    EXPECT_EQ(threads.running(), 0u);

    const auto hex = capture->hex();
    // Per player: two chords on channel 0 and one on channel 1.
    EXPECT_EQ(countOf(hex, "e0 00 40") + countOf(hex, "e0 4f 5b"), 2u * players);
    EXPECT_EQ(countOf(hex, "e1 50 40"), 1u * players);
    EXPECT_EQ(countOf(hex, "90 3c 60") + countOf(hex, "90 3f 60"), 2u * players);
    EXPECT_EQ(countOf(hex, "91 43 60"), 1u * players);
    // Every chord's own note-off, plus one for the table's previous note for every chord on
    // the channel but the very first: each chord sees exactly one predecessor.
    const std::size_t channel0Offs = countOf(hex, "80 3c 00") + countOf(hex, "80 3f 00");
    EXPECT_EQ(channel0Offs, 2u * players + (2u * players - 1));
    EXPECT_EQ(countOf(hex, "81 43 00"), 1u * players + (players - 1));
    EXPECT_EQ(hex.size(), 3u * (2 * players) + (2u * players - 1) + 3u * players + (players - 1));

    const auto last0 = threads.channelNotes().note(0);
    EXPECT_TRUE(last0 == 60 || last0 == 63);
    EXPECT_EQ(threads.channelNotes().note(1), 67);
}

// Records whether anything arrives after the device was closed.
class ClosingService : public MidiService {
public:
    void send(std::uint32_t packed) override
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            ++afterClose_;
        hex_.push_back(messageHex(packed));
    }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        std::lock_guard lock(mutex_);
        if (closed_)
            ++afterClose_;
        hex_.push_back(messageHex(message));
    }
    void close() override
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    std::vector<std::string> hex() const
    {
        std::lock_guard lock(mutex_);
        return hex_;
    }
    int afterClose() const
    {
        std::lock_guard lock(mutex_);
        return afterClose_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> hex_;
    bool closed_ = false;
    int afterClose_ = 0;
};

// Polls `done` until it holds or a deadline far beyond any scheduling delay has passed.
template <typename Done>
bool eventually(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    return done();
}

TEST(ScriptPlayers, StopAllEndsSleepingPlayersWithTheirOwnNoteOffsOnly)
{
    auto service = std::make_shared<ClosingService>();
    auto output = std::make_unique<MidiOutput>(service);
    auto pitches = std::make_unique<PitchOutput>(*output);
    auto threads = std::make_unique<ScriptPlayers>(*pitches);
    // Each player sleeps inside its ten-minute chord.
    const auto code = compileScript("PLAY 1/1 600 SEC PLAY 3/2").code;
    constexpr std::size_t players = 8;  // more than the threads started ahead
    for (std::size_t i = 0; i < players; ++i)
        ASSERT_TRUE(threads->start(code));
    ASSERT_TRUE(eventually([&] { return countOf(service->hex(), "90 3c 60") == players; }));

    // The program's order at the end: players stop, then the device closes.
    const std::size_t sentBeforeStop = service->hex().size();
    threads->stopAll();
    EXPECT_EQ(threads->running(), 0u);
    EXPECT_EQ(threads->threads(), 0u) << "a pool thread outlived stopAll";
    // Each player ends the chord it started (the others' chord-ons ended it already, which
    // does no harm), and nothing of its script goes on.
    const auto stopped = service->hex();
    ASSERT_EQ(stopped.size(), sentBeforeStop + players);
    for (std::size_t i = sentBeforeStop; i < stopped.size(); ++i)
        EXPECT_EQ(stopped[i], "80 3c 00") << i;
    EXPECT_FALSE(output->sounding(0, 60));
    // So closing finds nothing left to end.
    output->closeDevice();
    EXPECT_EQ(service->hex(), stopped);
    EXPECT_EQ(service->afterClose(), 0);
    EXPECT_FALSE(threads->start(code));
    threads.reset();
    output.reset();  // closing again on destruction is harmless
    EXPECT_EQ(service->afterClose(), 0);
}

TEST(ScriptPlayers, StoppingOneOwnerEndsItsNotesWhileTheOthersPlayOn)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    const int first = 0;
    const int second = 0;
    // The first owner's fifth sounds on channels 0 and 1; the second owner's third then
    // takes channel 0 over, and channel 1 still sounds the first owner's note.
    ASSERT_TRUE(threads.start(compileScript("PLAY 1/1 3/2 600 SEC").code, {}, &first));
    ASSERT_TRUE(eventually([&] { return output.sounding(1, 67); }));
    ASSERT_TRUE(threads.start(compileScript("PLAY 5/4 600 SEC").code, {}, &second));
    ASSERT_TRUE(eventually([&] { return output.sounding(0, 63); }));
    const std::size_t before = capture->hex().size();

    threads.stopOwner(&first);
    EXPECT_EQ(threads.running(), 1u);
    const auto hex = capture->hex();
    EXPECT_EQ(
        std::vector<std::string>(hex.begin() + static_cast<std::ptrdiff_t>(before), hex.end()),
        (std::vector<std::string>{"80 3c 00", "81 43 00"}));
    EXPECT_FALSE(output.sounding(1, 67)) << "the stopped owner left its note sounding";
    EXPECT_TRUE(output.sounding(0, 63)) << "the other owner's note was ended";

    ASSERT_TRUE(threads.start(compileScript("REST 600 SEC").code, {}, &first));  // again
    EXPECT_EQ(threads.running(), 2u);
    threads.stopAll();
    EXPECT_EQ(threads.running(), 0u);
    EXPECT_FALSE(output.sounding(0, 63));
}

TEST(ScriptPlayers, ManyMorePressesThanThreadsReuseThePool)
{
    MidiOutput output(nullptr);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    std::mutex mutex;
    std::set<std::thread::id> ranOn;
    std::size_t reports = 0;
    const auto code = std::make_shared<const CompiledScript>(std::vector<std::uint8_t>{0x41});
    constexpr std::size_t presses = 200;
    for (std::size_t i = 0; i < presses; ++i) {
        ASSERT_TRUE(threads.start(code, [&](std::string_view) {
            std::lock_guard lock(mutex);
            ranOn.insert(std::this_thread::get_id());
            ++reports;
        }));
        threads.waitAll();
    }
    std::lock_guard lock(mutex);
    EXPECT_EQ(reports, presses);
    EXPECT_LE(ranOn.size(), ScriptPlayers::readyThreads);
    EXPECT_FALSE(ranOn.count(std::this_thread::get_id()));
    EXPECT_EQ(threads.threads(), ScriptPlayers::readyThreads);
}

TEST(ScriptPlayers, ThePoolGrowsWhenEveryThreadIsBusyAndShrinksWhenIdle)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches, 50ms);
    const auto sleeper = compileScript("REST 600 SEC").code;
    constexpr std::size_t busy = ScriptPlayers::readyThreads + 3;
    for (std::size_t i = 0; i < busy; ++i)
        ASSERT_TRUE(threads.start(sleeper));
    EXPECT_EQ(threads.running(), busy);
    EXPECT_EQ(threads.threads(), busy);

    threads.stopOwner(nullptr);
    EXPECT_EQ(threads.running(), 0u);
    // The spare threads leave after waiting idle; the ones started ahead stay.
    EXPECT_TRUE(eventually([&] { return threads.threads() == ScriptPlayers::readyThreads; }))
        << threads.threads();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(threads.threads(), ScriptPlayers::readyThreads);

    // And it grows again, and plays, after some have left.
    const auto chord = compileScript("PLAY 1/1 1 ms").code;
    for (std::size_t i = 0; i < busy; ++i)
        ASSERT_TRUE(threads.start(chord));
    threads.waitAll();
    EXPECT_EQ(countOf(capture->hex(), "90 3c 60"), busy);
}

TEST(ScriptPlayers, MessagesReachTheReporterFromThePlayerThread)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    std::mutex mutex;
    std::vector<std::string> messages;
    std::thread::id reporterThread;
    const auto code = std::make_shared<const CompiledScript>(std::vector<std::uint8_t>{0x41});
    ASSERT_TRUE(threads.start(code, [&](std::string_view message) {
        std::lock_guard lock(mutex);
        messages.emplace_back(message);
        reporterThread = std::this_thread::get_id();
    }));
    threads.waitAll();
    std::lock_guard lock(mutex);
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot interpret script: A (0x41)"}));
    EXPECT_NE(reporterThread, std::this_thread::get_id());
    EXPECT_TRUE(capture->messages().empty());
}

TEST(ScriptPlayers, NoCodeNoDeviceAndStopping)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    EXPECT_FALSE(threads.start(nullptr));

    // Without a device a player still keeps its time in silence.
    MidiOutput none(nullptr);
    PitchOutput silentPitches(none);
    ScriptPlayers silent(silentPitches);
    ASSERT_TRUE(silent.start(compileScript("PLAY 1/1 1 ms").code));
    silent.waitAll();
    EXPECT_EQ(silent.running(), 0u);
    silent.stopAll();
    silent.stopAll();
    EXPECT_FALSE(silent.start(compileScript("PLAY 1/1").code));
}

thread_local bool hookRanHere = false;

TEST(ScriptPlayers, StartHookRunsOnceOnEveryPoolThreadBeforeItsNextPlayer)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers threads(pitches);
    const int sleeper = 0;
    // One thread is playing when the hook comes, so it runs the hook after its player.
    ASSERT_TRUE(threads.start(compileScript("PLAY 1/1 600 SEC").code, {}, &sleeper));
    ASSERT_TRUE(eventually([&] { return output.sounding(0, 60); }));

    std::mutex mutex;
    std::multiset<std::thread::id> hooked;
    std::vector<bool> playedHooked;
    const auto caller = std::this_thread::get_id();
    threads.setThreadStartHook([&] {
        hookRanHere = true;
        std::lock_guard lock(mutex);
        hooked.insert(std::this_thread::get_id());
    });
    const auto calls = [&] {
        std::lock_guard lock(mutex);
        return hooked.size();
    };
    // The waiting threads run it at once, with no press; the busy one when its player ends.
    EXPECT_TRUE(eventually([&] { return calls() == ScriptPlayers::readyThreads - 1; })) << calls();
    threads.stopOwner(&sleeper);
    EXPECT_TRUE(eventually([&] { return calls() == ScriptPlayers::readyThreads; })) << calls();

    // More presses than threads: the new threads run it before their first player.
    const auto code = std::make_shared<const CompiledScript>(std::vector<std::uint8_t>{0x41});
    constexpr std::size_t presses = 3 * ScriptPlayers::readyThreads;
    for (std::size_t i = 0; i < presses; ++i) {
        ASSERT_TRUE(threads.start(code, [&](std::string_view) {
            std::this_thread::sleep_for(1ms);  // keeps the threads busy, so the pool grows
            std::lock_guard lock(mutex);
            playedHooked.push_back(hookRanHere);
        }));
    }
    threads.waitAll();
    EXPECT_EQ(calls(), threads.threads());
    std::lock_guard lock(mutex);
    EXPECT_EQ(std::set<std::thread::id>(hooked.begin(), hooked.end()).size(), hooked.size())
        << "the hook ran twice on one thread";
    EXPECT_FALSE(hooked.count(caller));
    EXPECT_EQ(playedHooked, std::vector<bool>(presses, true));
}

// A real clock, with or without a stop signal, shared with the thread that waits on it.
struct RealClock {
    explicit RealClock(bool stoppable,
                       PlayerTime yieldMargin = SteadyPlayerClock::defaultYieldMargin)
        : clock(stoppable ? &stop : nullptr, yieldMargin)
    {
    }
    void raise()
    {
        raiseCalled = true;
        stop.raise();
    }
    PlayerStopSignal stop;
    SteadyPlayerClock clock;
    std::atomic<bool> raiseCalled{false};
};

struct WaitOutcome {
    bool result = false;
    PlayerTime due{};
    PlayerTime wokeAt{};  // the clock's own time right after the wait
    std::chrono::steady_clock::duration took{};
    bool raisedBefore = false;  // the stop had been raised when the wait returned
    std::uint64_t yields = 0;   // in this wait's last phase
};

// Far beyond any scheduling delay of a loaded machine, and far below the hour that a wait
// ignoring its due time or its stop would sleep.
constexpr auto waitLimit = 10s;
// Later than a loaded machine wakes a thread, far sooner than an oversleeping wait returns.
constexpr auto lateLimit = 2s;

// Waits on a thread of its own until `dueFrom(now)`; nothing when the wait has not returned
// within waitLimit (the thread is then left to sleep on alone, so the test fails, not hangs).
std::optional<WaitOutcome> waitOnItsOwnThread(std::shared_ptr<RealClock> real,
                                              std::function<PlayerTime(PlayerTime)> dueFrom)
{
    std::packaged_task<WaitOutcome()> task([real, dueFrom] {
        WaitOutcome outcome;
        const std::uint64_t yieldsBefore = real->clock.yields();
        const auto begin = std::chrono::steady_clock::now();
        outcome.due = dueFrom(real->clock.now());
        outcome.result = real->clock.waitUntil(outcome.due);
        outcome.took = std::chrono::steady_clock::now() - begin;
        outcome.wokeAt = real->clock.now();
        outcome.raisedBefore = real->raiseCalled;
        outcome.yields = real->clock.yields() - yieldsBefore;
        return outcome;
    });
    auto future = task.get_future();
    std::thread(std::move(task)).detach();
    if (future.wait_for(waitLimit) != std::future_status::ready)
        return std::nullopt;
    return future.get();
}

// Margins of the last, yielding phase: none (the wait only sleeps), the usual one, half of
// the waits below (the wait sleeps, then yields, unless the system oversleeps by 50 ms), and
// one longer than every wait here (the wait only yields).
const std::vector<PlayerTime> yieldMargins{
    PlayerTime::zero(), SteadyPlayerClock::defaultYieldMargin, PlayerTime(50ms), PlayerTime(1h)};

TEST(SteadyPlayerClock, WaitsEndAtTheirDueTimeNeitherEarlyNorAnHourLate)
{
    for (const bool stoppable : {false, true}) {
        for (const PlayerTime margin : yieldMargins) {
            SCOPED_TRACE(std::string(stoppable ? "with" : "without") + " a stop signal, margin " +
                         std::to_string(margin.count()) + " ns");
            const auto real = std::make_shared<RealClock>(stoppable, margin);
            const auto due = waitOnItsOwnThread(real, [](PlayerTime now) { return now + 100ms; });
            ASSERT_TRUE(due) << "a 100 ms wait was still waiting after " << waitLimit.count()
                             << " s";
            EXPECT_TRUE(due->result);
            EXPECT_GE(due->wokeAt, due->due);
            EXPECT_GE(due->took, 100ms);
            EXPECT_LT(due->took, lateLimit) << "a 100 ms wait overslept";
            if (margin == PlayerTime::zero()) {
                EXPECT_EQ(due->yields, 0u) << "a wait with no margin yielded";
            } else if (margin == PlayerTime(1h)) {
                EXPECT_GT(due->yields, 0u) << "a wait within its margin did not yield";
            }

            const auto passed = waitOnItsOwnThread(real, [](PlayerTime now) { return now - 1h; });
            ASSERT_TRUE(passed) << "a wait already due did not return";
            EXPECT_TRUE(passed->result);
            EXPECT_LT(passed->took, lateLimit);
            EXPECT_EQ(passed->yields, 0u);
        }
    }
}

TEST(SteadyPlayerClock, AWaitSleepsOnlyUntilItsMarginThenYields)
{
    // A wait that slept to its due time would never yield. One that stops sleeping at its
    // margin yields unless the system overslept by all of it; of several, one yields.
    const auto real = std::make_shared<RealClock>(true, PlayerTime(50ms));
    bool yielded = false;
    for (int attempt = 0; attempt < 5 && !yielded; ++attempt) {
        const auto due = waitOnItsOwnThread(real, [](PlayerTime now) { return now + 100ms; });
        ASSERT_TRUE(due);
        EXPECT_TRUE(due->result);
        EXPECT_GE(due->wokeAt, due->due);
        yielded = due->yields > 0;
    }
    EXPECT_TRUE(yielded) << "the waits slept past their margin";
}

TEST(SteadyPlayerClock, StopEndsALongWaitOnlyOnceRaisedWhileSleepingOrYielding)
{
    for (const PlayerTime margin : yieldMargins) {
        SCOPED_TRACE("margin " + std::to_string(margin.count()) + " ns");
        const auto real = std::make_shared<RealClock>(true, margin);
        std::thread raiser([real] {
            std::this_thread::sleep_for(20ms);
            real->raise();
        });
        const auto stopped = waitOnItsOwnThread(real, [](PlayerTime now) { return now + 1h; });
        raiser.join();
        ASSERT_TRUE(stopped) << "the stop did not end an hour's wait";
        EXPECT_FALSE(stopped->result);
        EXPECT_LT(stopped->took, lateLimit) << "the stop, raised after 20 ms, came late";
        EXPECT_TRUE(stopped->raisedBefore) << "the wait ended before the stop was raised";
        if (margin == PlayerTime(1h)) {
            EXPECT_GT(stopped->yields, 0u) << "the stop did not come in the yielding phase";
        } else {
            EXPECT_EQ(stopped->yields, 0u) << "the stop did not come in the sleeping phase";
        }

        // Once raised, every wait ends at once, due or not, and says "stop".
        for (const PlayerTime offset : {PlayerTime::zero(), PlayerTime(1h), PlayerTime::max()}) {
            const auto after = waitOnItsOwnThread(real, [offset](PlayerTime now) {
                return offset > PlayerTime::max() - now ? PlayerTime::max() : now + offset;
            });
            ASSERT_TRUE(after) << offset.count();
            EXPECT_FALSE(after->result) << offset.count();
        }
    }
}

}  // namespace
}  // namespace tv
