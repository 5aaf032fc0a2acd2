#include "core/midi/MidiOutput.h"
#include "core/script/PlayerStopSignal.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "core/script/SteadyPlayerClock.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <optional>
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
    ScriptPlayers threads(output);
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

TEST(ScriptPlayers, StopAllEndsSleepingPlayersWithoutAnotherMessage)
{
    auto service = std::make_shared<ClosingService>();
    auto output = std::make_unique<MidiOutput>(service);
    auto threads = std::make_unique<ScriptPlayers>(*output);
    const auto code = compileScript("PLAY 1/1 REST 600 SEC PLAY 3/2").code;
    constexpr int players = 8;
    for (int i = 0; i < players; ++i)
        ASSERT_TRUE(threads->start(code));

    // Wait until every player has sent its first chord and sleeps in the long wait.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (countOf(service->hex(), "90 3c 60") < players &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(countOf(service->hex(), "90 3c 60"), static_cast<std::size_t>(players));

    // The program's order at the end: players stop, then the device closes.
    const std::size_t sentBeforeStop = service->hex().size();
    threads->stopAll();
    EXPECT_EQ(threads->running(), 0u);
    EXPECT_EQ(service->hex().size(), sentBeforeStop) << "a stopped player sent on";
    // Closing ends the chord's note, which may still be sounding, and nothing else.
    output->closeDevice();
    const auto hex = service->hex();
    for (std::size_t i = sentBeforeStop; i < hex.size(); ++i)
        EXPECT_EQ(hex[i], "80 3c 00");
    EXPECT_EQ(countOf(service->hex(), "e0 50 40"), 0u) << "a woken player went on with its script";
    EXPECT_EQ(service->afterClose(), 0);
    EXPECT_FALSE(threads->start(code));
    threads.reset();
    output.reset();  // closing again on destruction is harmless
    EXPECT_EQ(service->afterClose(), 0);
}

TEST(ScriptPlayers, StoppingOneOwnersPlayersLeavesTheOthersPlaying)
{
    MidiOutput output(nullptr);
    ScriptPlayers threads(output);
    const auto code = compileScript("REST 600 SEC").code;
    const int first = 0;
    const int second = 0;
    ASSERT_TRUE(threads.start(code, {}, &first));
    ASSERT_TRUE(threads.start(code, {}, &second));
    ASSERT_TRUE(threads.start(code, {}, &first));
    threads.stopOwner(&first);
    EXPECT_EQ(threads.running(), 1u);
    ASSERT_TRUE(threads.start(code, {}, &first));  // the owner may start again
    threads.stopOwner(&second);
    EXPECT_EQ(threads.running(), 1u);
    threads.stopAll();
    EXPECT_EQ(threads.running(), 0u);
}

TEST(ScriptPlayers, MessagesReachTheReporterFromThePlayerThread)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    ScriptPlayers threads(output);
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
    ScriptPlayers threads(output);
    EXPECT_FALSE(threads.start(nullptr));

    // Without a device a player still keeps its time in silence.
    MidiOutput none(nullptr);
    ScriptPlayers silent(none);
    ASSERT_TRUE(silent.start(compileScript("PLAY 1/1 1 ms").code));
    silent.waitAll();
    EXPECT_EQ(silent.running(), 0u);
    silent.stopAll();
    silent.stopAll();
    EXPECT_FALSE(silent.start(compileScript("PLAY 1/1").code));
}

TEST(ScriptPlayers, StartHookRunsOnEveryLaterPlayerThread)
{
    MidiOutput output(nullptr);
    ScriptPlayers threads(output);
    const auto code = compileScript("REST 1 ms").code;
    ASSERT_TRUE(threads.start(code));
    std::atomic<int> calls{0};
    std::atomic<bool> onCaller{false};
    const auto caller = std::this_thread::get_id();
    threads.setThreadStartHook([&] {
        ++calls;
        if (std::this_thread::get_id() == caller)
            onCaller = true;
    });
    ASSERT_TRUE(threads.start(code));
    ASSERT_TRUE(threads.start(code));
    threads.waitAll();
    EXPECT_EQ(calls.load(), 2);
    EXPECT_FALSE(onCaller.load());
}

// A real clock, with or without a stop signal, shared with the thread that waits on it.
struct RealClock {
    explicit RealClock(bool stoppable) : clock(stoppable ? &stop : nullptr) {}
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
};

// Far beyond any scheduling delay of a loaded machine, and far below the hour that a wait
// ignoring its due time or its stop would sleep.
constexpr auto waitLimit = 10s;

// Waits on a thread of its own until `dueFrom(now)`; nothing when the wait has not returned
// within waitLimit (the thread is then left to sleep on alone, so the test fails, not hangs).
std::optional<WaitOutcome> waitOnItsOwnThread(std::shared_ptr<RealClock> real,
                                              std::function<PlayerTime(PlayerTime)> dueFrom)
{
    std::packaged_task<WaitOutcome()> task([real, dueFrom] {
        WaitOutcome outcome;
        const auto begin = std::chrono::steady_clock::now();
        outcome.due = dueFrom(real->clock.now());
        outcome.result = real->clock.waitUntil(outcome.due);
        outcome.took = std::chrono::steady_clock::now() - begin;
        outcome.wokeAt = real->clock.now();
        outcome.raisedBefore = real->raiseCalled;
        return outcome;
    });
    auto future = task.get_future();
    std::thread(std::move(task)).detach();
    if (future.wait_for(waitLimit) != std::future_status::ready)
        return std::nullopt;
    return future.get();
}

TEST(SteadyPlayerClock, WaitsEndAtTheirDueTimeNeitherEarlyNorAnHourLate)
{
    for (const bool stoppable : {false, true}) {
        SCOPED_TRACE(stoppable ? "with a stop signal" : "without a stop signal");
        const auto real = std::make_shared<RealClock>(stoppable);
        const auto due = waitOnItsOwnThread(real, [](PlayerTime now) { return now + 20ms; });
        ASSERT_TRUE(due) << "a 20 ms wait was still sleeping after " << waitLimit.count() << " s";
        EXPECT_TRUE(due->result);
        EXPECT_GE(due->wokeAt, due->due);
        EXPECT_GE(due->took, 20ms);

        const auto passed = waitOnItsOwnThread(real, [](PlayerTime now) { return now - 1h; });
        ASSERT_TRUE(passed) << "a wait already due did not return";
        EXPECT_TRUE(passed->result);
    }
}

TEST(SteadyPlayerClock, StopEndsALongWaitOnlyOnceRaised)
{
    const auto real = std::make_shared<RealClock>(true);
    std::thread raiser([real] {
        std::this_thread::sleep_for(20ms);
        real->raise();
    });
    const auto stopped = waitOnItsOwnThread(real, [](PlayerTime now) { return now + 1h; });
    raiser.join();
    ASSERT_TRUE(stopped) << "the stop did not end an hour's wait";
    EXPECT_FALSE(stopped->result);
    EXPECT_TRUE(stopped->raisedBefore) << "the wait ended before the stop was raised";

    // Once raised, every wait ends at once, due or not, and says "stop".
    for (const PlayerTime offset : {PlayerTime::zero(), PlayerTime(1h), PlayerTime::max()}) {
        const auto after = waitOnItsOwnThread(real, [offset](PlayerTime now) {
            return offset > PlayerTime::max() - now ? PlayerTime::max() : now + offset;
        });
        ASSERT_TRUE(after) << offset.count();
        EXPECT_FALSE(after->result) << offset.count();
    }
}

}  // namespace
}  // namespace tv
