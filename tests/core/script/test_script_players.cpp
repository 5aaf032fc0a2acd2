#include "core/midi/MidiOutput.h"
#include "core/script/PlayerStopSignal.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "core/script/SteadyPlayerClock.h"
#include "support/CaptureMidiService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
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

TEST(ScriptPlayers, ClosingTheOutputEndsSleepingPlayersBeforeTheDevice)
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
    threads->stopAll();
    output->closeDevice();
    EXPECT_EQ(threads->running(), 0u);
    EXPECT_EQ(countOf(service->hex(), "e0 50 40"), 0u) << "a player went on after the close";
    EXPECT_EQ(service->afterClose(), 0);
    EXPECT_FALSE(threads->start(code));
    threads.reset();
    output.reset();  // closing again on destruction is harmless
    EXPECT_EQ(service->afterClose(), 0);
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

TEST(SteadyPlayerClock, WaitsEndWhenDueAndStopAtOnceWhenRaised)
{
    PlayerStopSignal stop;
    SteadyPlayerClock clock(&stop);
    const PlayerTime start = clock.now();
    EXPECT_TRUE(clock.waitUntil(start + 2ms));
    EXPECT_GE(clock.now() - start, 2ms);
    EXPECT_TRUE(clock.waitUntil(start));  // already passed

    std::thread raiser([&] {
        std::this_thread::sleep_for(20ms);
        stop.raise();
    });
    EXPECT_FALSE(clock.waitUntil(clock.now() + 1h));
    raiser.join();
    EXPECT_FALSE(clock.waitUntil(clock.now()));
    EXPECT_FALSE(clock.waitUntil(PlayerTime::max()));
}

}  // namespace
}  // namespace tv
