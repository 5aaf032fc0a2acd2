// The built-in synthesizer as a MIDI output: messages from many threads, opening the audio.

#include "core/midi/MidiMessage.h"
#include "e2e/JackHarness.h"
#include "platform/midi/BuiltinSynthService.h"
#include "support/Needs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>
#include <vector>

#include <unistd.h>

namespace tv {
namespace {

TEST(BuiltinSynthService, MessagesFromSeveralThreadsWhileTheAudioRuns)
{
    BuiltinSynthService service(48000);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> buffer(2 * 240);
        while (!stop.load())
            service.renderAudio(buffer.data(), 240);
    });
    // Each player thread works its own channel: many short notes, then a program, a bend and
    // one held note. A note-off overtaken by its note-on would leave a note hanging. The held
    // notes wait for every thread's short notes, so that none of them is the oldest voice
    // when a short note needs one.
    constexpr int players = 4;
    std::latch shortNotesSent(players);
    std::vector<std::thread> threads;
    for (int t = 0; t < players; ++t) {
        threads.emplace_back([&service, &shortNotesSent, t] {
            for (int i = 0; i < 1000; ++i) {
                const auto note = static_cast<std::uint8_t>(40 + i % 40);
                service.send(noteOn(t, note, 80));
                service.send(noteOff(t, note));
            }
            shortNotesSent.arrive_and_wait();
            // Organ programs sustain while held, however long the audio thread runs on.
            service.send(programChange(t, 16 + t));
            service.send(pitchBend(t, static_cast<std::uint8_t>(t), 70));
            service.send(noteOn(t, static_cast<std::uint8_t>(100 + t), 90));
        });
    }
    for (auto& thread : threads)
        thread.join();
    stop = true;
    audio.join();

    std::vector<float> buffer(2 * 48000);
    service.renderAudio(buffer.data(), 48000);  // takes what is left, lets releases finish
    EXPECT_EQ(service.droppedMessages(), 0u);
    const SynthEngine& engine = service.engine();
    for (int t = 0; t < players; ++t) {
        EXPECT_TRUE(engine.noteHeld(t, 100 + t)) << t;
        EXPECT_EQ(engine.program(t), 16 + t);
        EXPECT_EQ(engine.bend(t), 70 * 128 + t);
    }
    EXPECT_EQ(engine.activeVoices(), players);
}

TEST(BuiltinSynthService, AClosedServiceDropsMessages)
{
    BuiltinSynthService service(44100);
    service.send(noteOn(0, 60, 90));
    service.close();
    service.send(noteOn(0, 62, 90));
    std::vector<float> buffer(2 * 64);
    service.renderAudio(buffer.data(), 64);
    EXPECT_TRUE(service.engine().noteHeld(0, 60));
    EXPECT_FALSE(service.engine().noteHeld(0, 62));
    service.close();  // twice is harmless
}

TEST(BuiltinSynthService, TheAudioOutputOpensPlaysAndCloses)
{
    // Build machines have no sound card: opening must then give null and RtAudio's reason,
    // never throw, and a private JACK server with the dummy driver stands in for the card.
    std::string error;
    std::shared_ptr<BuiltinSynthService> service;
    ASSERT_NO_THROW(service = BuiltinSynthService::open(error));
    test::JackServer jack;
    if (!service) {
        EXPECT_FALSE(error.empty());
        TV_NEEDS(test::haveProgram("jackd"), "jackd (Debian package jackd2), for a sound card");
        const std::string server = "tonalvane-service-" + std::to_string(getpid());
        std::string reason;
        ASSERT_TRUE(jack.start(server, reason)) << reason;
        // RtAudio's JACK backend joins the default server.
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        error.clear();
        ASSERT_NO_THROW(service = BuiltinSynthService::open(error));
        unsetenv("JACK_DEFAULT_SERVER");
        ASSERT_NE(service, nullptr) << error;
    }
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_GT(service->bufferFrames(), 0u);
    EXPECT_LE(service->bufferFrames(), static_cast<unsigned>(service->sampleRate() * 0.02));
    service->send(noteOn(0, 60, 60));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    service->send(noteOff(0, 60));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    service->close();
}

}  // namespace
}  // namespace tv
