// The RtMidi output over JACK, against a private JACK server with the dummy driver: what is
// sent just before closing arrives while other threads keep sending, and the cycle counter
// that closing waits on.

#include "core/midi/MidiMessage.h"
#include "e2e/JackHarness.h"
#include "platform/midi/JackCycleCounter.h"
#include "platform/midi/RtMidiService.h"
#include "support/Needs.h"

#include <gtest/gtest.h>

#include <jack/jack.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tv {
namespace {

using namespace std::chrono_literals;

// JACK clients of this process join the server that JACK_DEFAULT_SERVER names while alive.
class DefaultJackServer {
public:
    explicit DefaultJackServer(const std::string& name)
    {
        setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    }
    ~DefaultJackServer() { unsetenv("JACK_DEFAULT_SERVER"); }
};

// Without a counter that counts, every open and close would wait the whole limit.
TEST(JackCycleCounter, CountsTheCyclesOfTheServerJackWouldChoose)
{
    TV_NEEDS(test::haveProgram("jackd"), "jackd (Debian package jackd2)");
    {
        const DefaultJackServer none("tonalvane-no-such-server-" + std::to_string(getpid()));
        EXPECT_EQ(JackCycleCounter::open(), nullptr);
    }
    const std::string server = "tonalvane-cycles-" + std::to_string(getpid());
    test::JackServer jack;
    std::string reason;
    ASSERT_TRUE(jack.start(server, reason)) << reason;
    const DefaultJackServer chosen(server);
    const auto counter = JackCycleCounter::open();
    ASSERT_NE(counter, nullptr);
    const auto before = counter->cycles();
    EXPECT_TRUE(counter->waitForCycles(3, 5s));
    EXPECT_GE(counter->cycles(), before + 3);
    EXPECT_FALSE(counter->waitForCycles(1000000, 20ms));
}

// One round: the output opens, three threads send note-ons 0, 1, 2, ... on channels 0 to 2,
// and meanwhile the main thread sends a last note-off on channel 15 and closes. Gives the
// events that reached the capture client.
std::vector<std::string> sendWhileClosing(const std::string& server,
                                          const test::JackMidiCapture& capture)
{
    const std::size_t before = capture.events().size();
    std::shared_ptr<RtMidiService> service;
    std::string reason;
    {
        const DefaultJackServer chosen(server);
        service = RtMidiService::open({MidiOutputInfo::Kind::Jack, "tvcapture:in", 0}, reason);
    }
    if (!service) {
        ADD_FAILURE() << "the output did not open: " << reason;
        return {};
    }
    std::vector<std::thread> threads;
    for (int channel = 0; channel < 3; ++channel) {
        threads.emplace_back([&service, channel] {
            for (int note = 0; note < 128; ++note) {
                service->send(noteOn(channel, static_cast<std::uint8_t>(note), 100));
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    std::this_thread::sleep_for(30ms);
    service->send(noteOff(15, 60));
    service->close();
    for (auto& thread : threads)
        thread.join();
    service.reset();
    std::this_thread::sleep_for(100ms);  // the capture client's own cycle may run late
    const std::vector<std::string> events = capture.events();
    return std::vector<std::string>(events.begin() + static_cast<long>(before), events.end());
}

// Each sender's notes arrive in order with none missing: those that came after the close
// had begun were dropped, the others all left before the port closed. So does the main
// thread's note-off, the last message before the close.
void expectWholeAndInOrder(const std::vector<std::string>& events, int round)
{
    std::vector<int> next(3, 0);
    int lastNoteOffs = 0;
    for (const auto& event : events) {
        if (event == messageHex(noteOff(15, 60))) {
            ++lastNoteOffs;
            continue;
        }
        bool known = false;
        for (int channel = 0; channel < 3 && !known; ++channel) {
            const auto note = static_cast<std::uint8_t>(next[channel]);
            if (next[channel] < 128 && event == messageHex(noteOn(channel, note, 100))) {
                ++next[channel];
                known = true;
            }
        }
        EXPECT_TRUE(known) << "round " << round << ": unexpected or out of order: " << event;
    }
    EXPECT_EQ(lastNoteOffs, 1) << "round " << round;
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_LT(next[channel], 128)
            << "round " << round << ": channel " << channel << " was still sent to after closing";
}

TEST(RtMidiService, OverJackWhatWasSentBeforeClosingArrivesWhileOtherThreadsKeepSending)
{
    TV_NEEDS(test::haveProgram("jackd"), "jackd (Debian package jackd2)");
    const std::string server = "tonalvane-rtmidi-" + std::to_string(getpid());
    test::JackServer jack;
    test::JackMidiCapture capture;
    std::string reason;
    // The capture reads 3 ms into each cycle, as a synthesizer that renders first does; a
    // close that does not wait then loses the last messages in most rounds.
    ASSERT_TRUE(jack.start(server, reason, 1024)) << reason;
    ASSERT_TRUE(capture.open(server, "tvcapture", reason, 3ms)) << reason;

    // A busy machine makes the unprivileged server overrun now and then, which can lose
    // events by itself: a round with an overrun is not judged.
    int judged = 0;
    for (int round = 1; round <= 12 && judged < 6; ++round) {
        const auto started = test::JackMidiCapture::Clock::now();
        const std::vector<std::string> events = sendWhileClosing(server, capture);
        if (capture.overrunsSince(started) > 0)
            continue;
        ++judged;
        expectWholeAndInOrder(events, round);
    }
    TV_NEEDS(judged > 0, "a JACK server that ran one round without overrunning");
}

}  // namespace
}  // namespace tv
