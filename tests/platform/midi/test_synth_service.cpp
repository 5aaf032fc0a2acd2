// The built-in synthesizer as a MIDI output: messages from many threads, opening the audio.

#include "core/midi/MidiMessage.h"
#include "core/synth/SynthMessageQueue.h"
#include "platform/midi/BuiltinSynthService.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>
#include <vector>

namespace tv {
namespace {

TEST(SynthMessageQueue, KeepsOrderAndRefusesWhenFull)
{
    SynthMessageQueue queue(6);  // rounded up to 8
    ASSERT_EQ(queue.capacity(), 8u);
    std::uint32_t message = 0;
    EXPECT_FALSE(queue.pop(message));
    for (std::uint32_t round = 0; round < 3; ++round) {  // the cells are reused
        for (std::uint32_t i = 0; i < 8; ++i)
            EXPECT_TRUE(queue.push(round * 100 + i));
        EXPECT_FALSE(queue.push(999));
        for (std::uint32_t i = 0; i < 8; ++i) {
            ASSERT_TRUE(queue.pop(message));
            EXPECT_EQ(message, round * 100 + i);
        }
        EXPECT_FALSE(queue.pop(message));
    }
}

TEST(SynthMessageQueue, ManyWritersOneReaderLoseNothingAndKeepEachWritersOrder)
{
    // A small queue, so writers often find it full and the cells wrap many times.
    SynthMessageQueue queue(64);
    constexpr int writers = 4;
    constexpr std::uint32_t perWriter = 200000;
    std::vector<std::thread> threads;
    for (std::uint32_t w = 0; w < writers; ++w) {
        threads.emplace_back([&queue, w] {
            for (std::uint32_t i = 0; i < perWriter; ++i) {
                while (!queue.push(w << 24 | i))
                    std::this_thread::yield();
            }
        });
    }
    std::vector<std::uint32_t> next(writers, 0);
    std::uint32_t received = 0;
    bool ordered = true;
    while (received < writers * perWriter) {
        std::uint32_t message = 0;
        if (!queue.pop(message)) {
            std::this_thread::yield();
            continue;
        }
        const std::uint32_t w = message >> 24;
        ASSERT_LT(w, static_cast<std::uint32_t>(writers));
        ordered = ordered && (message & 0xFFFFFF) == next[w];
        next[w] = (message & 0xFFFFFF) + 1;
        ++received;
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(ordered);
    for (const auto count : next)
        EXPECT_EQ(count, perWriter);
    std::uint32_t extra = 0;
    EXPECT_FALSE(queue.pop(extra));
}

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

TEST(BuiltinSynthService, OpeningTheAudioOutputFailsCleanlyOrPlays)
{
    // Build machines have no sound card: opening must then give null and RtAudio's reason,
    // never throw. Where there is one, it must play and close again.
    std::string error;
    std::shared_ptr<BuiltinSynthService> service;
    ASSERT_NO_THROW(service = BuiltinSynthService::open(error));
    if (!service) {
        EXPECT_FALSE(error.empty());
        GTEST_SKIP() << "no audio output here: " << error;
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
