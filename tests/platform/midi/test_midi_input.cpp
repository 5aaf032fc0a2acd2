// The RtMidi input over JACK, against a private JACK server with the dummy driver: what a
// keyboard client plays arrives decoded, and a keyboard that goes away is reported once.

#include "core/midi/MidiMessage.h"
#include "e2e/JackHarness.h"
#include "platform/midi/RtMidiInput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tv {
namespace {

using namespace std::chrono_literals;

// Keeps what the input delivers; the test reads it once the backend's thread has written it.
struct Collector : MidiInputHandler {
    std::mutex mutex;
    std::vector<std::uint32_t> received;
    std::vector<std::string> lost;

    void midiReceived(const std::uint32_t* messages, std::size_t count) override
    {
        std::lock_guard lock(mutex);
        received.insert(received.end(), messages, messages + count);
    }
    void inputLost(const std::string& message) override
    {
        std::lock_guard lock(mutex);
        lost.push_back(message);
    }
    template <typename T>
    T read(T Collector::*field)
    {
        std::lock_guard lock(mutex);
        return this->*field;
    }
};

TEST(RtMidiInput, DeliversDecodedMessagesAndReportsAVanishedPortOnce)
{
    if (std::system("command -v jackd >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "jackd is not installed";
    const std::string server = "tonalvane-input-" + std::to_string(getpid());
    test::JackServer jack;
    std::string reason;
    ASSERT_TRUE(jack.start(server, reason)) << reason;
    test::JackMidiSource keys;
    ASSERT_TRUE(keys.open(server, "tvkeys", reason)) << reason;
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);

    Collector collector;
    std::string error;
    auto input =
        RtMidiInput::open({MidiInputInfo::Kind::Jack, "no-such:port", 0}, collector, error);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(error, "The MIDI input \"no-such:port\" is no longer available.");
    input = RtMidiInput::open({MidiInputInfo::Kind::Jack, "tvkeys:out", 0}, collector, error);
    ASSERT_NE(input, nullptr) << error;
    std::this_thread::sleep_for(50ms);  // the connection takes effect in a later cycle

    // Clock, sysex and active sensing are passed over; a velocity 0 note-on stays as it came.
    const std::vector<std::vector<std::uint8_t>> events = {
        {0x90, 60, 100}, {0xF8},       {0xF0, 0x7E, 0x01, 0xF7}, {0xB0, 64, 127}, {0xFE},
        {0xE0, 0, 0x50}, {0x90, 60, 0}};
    for (const auto& event : events)
        keys.send(event);
    for (int i = 0; i < 2000 && collector.read(&Collector::received).size() < 4; ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(collector.read(&Collector::received),
              (std::vector<std::uint32_t>{packMessage(0x90, 60, 100), packMessage(0xB0, 64, 127),
                                          packMessage(0xE0, 0, 0x50), packMessage(0x90, 60, 0)}));
    EXPECT_TRUE(input->checkPresent());
    EXPECT_TRUE(collector.read(&Collector::lost).empty());

    keys.close();
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(input->checkPresent());
    EXPECT_FALSE(input->checkPresent());
    EXPECT_TRUE(input->lost());
    EXPECT_EQ(collector.read(&Collector::lost),
              (std::vector<std::string>{"The MIDI input \"tvkeys:out\" is no longer available."}));
    input->close();
    unsetenv("JACK_DEFAULT_SERVER");
}

}  // namespace
}  // namespace tv
