#include "JackHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace tv::test {
namespace {

bool haveJackd() { return std::system("command -v jackd >/dev/null 2>&1") == 0; }

std::vector<std::string> waitForEvents(const JackMidiCapture& capture, std::size_t count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (capture.events().size() < count && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return capture.events();
}

TEST(JackEndToEnd, ChordReachesAJackMidiClientByteForByte)
{
    if (!haveJackd())
        GTEST_SKIP() << "jackd is not installed, so the real RtMidi JACK backend cannot be tested";
    const std::string server = "tonalvane-test-" + std::to_string(getpid());
    JackServer jack;
    std::string reason;
    ASSERT_TRUE(jack.start(server, reason)) << reason;
    JackMidiCapture capture;
    ASSERT_TRUE(capture.open(server, "tvcapture", reason)) << reason;

    const std::string command = std::string("env JACK_DEFAULT_SERVER=") + server +
                                " TONALVANE_MIDI_OUT=tvcapture " TONALVANE_CLI
                                " chord 1/1 3/2 --hold 200";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::vector<std::string> expected{
        "c0 00", "e0 00 40", "90 3c 5a", "c1 00", "e1 50 40", "91 43 5a", "80 3c 00", "81 43 00",
    };
    EXPECT_EQ(waitForEvents(capture, expected.size()), expected);
}

TEST(JackEndToEnd, PortsListsTheCaptureClientAndAChosenMissingPortFails)
{
    if (!haveJackd())
        GTEST_SKIP() << "jackd is not installed";
    const std::string server = "tonalvane-test-ports-" + std::to_string(getpid());
    JackServer jack;
    std::string reason;
    ASSERT_TRUE(jack.start(server, reason)) << reason;
    JackMidiCapture capture;
    ASSERT_TRUE(capture.open(server, "tvlisten", reason)) << reason;

    const std::string env = "env JACK_DEFAULT_SERVER=" + server + " ";
    const std::string list = "/tmp/tonalvane-ports-" + std::to_string(getpid());
    ASSERT_EQ(std::system((env + TONALVANE_CLI " ports > " + list).c_str()), 0);
    FILE* file = std::fopen(list.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    std::fclose(file);
    std::remove(list.c_str());
    EXPECT_STREQ(line, "tvlisten:in\n");

    const int status = std::system(
        (env + "TONALVANE_MIDI_OUT=no-such-port " TONALVANE_CLI " chord 3/2 --hold 0 2>/dev/null")
            .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(capture.events().empty());
}

}  // namespace
}  // namespace tv::test
