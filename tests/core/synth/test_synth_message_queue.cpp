// The queue that carries MIDI messages from any number of threads to the synthesizer's audio
// thread.

#include "core/synth/SynthMessageQueue.h"
#include "support/Sanitizers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace tv {
namespace {

TEST(SynthMessageQueue, KeepsOrderAndRefusesWhenFull)
{
    SynthMessageQueue queue(6);  // rounded up to 8
    ASSERT_EQ(queue.capacity(), 8u);
    EXPECT_EQ(SynthMessageQueue(8).capacity(), 8u);
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
    constexpr std::uint32_t perWriter = test::underSanitizer ? 20000 : 200000;
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

}  // namespace
}  // namespace tv
