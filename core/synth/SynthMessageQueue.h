#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tv {

// A bounded lock-free queue of packed MIDI messages: any number of threads push, one thread
// (the audio callback) pops. Neither side ever blocks or allocates, so a sender can never
// hold up the audio, and the audio never waits for a sender.
//
// Each cell carries a sequence number that says whose turn it is: a pusher claims a position
// by advancing the write counter and publishes the message by setting the cell's sequence to
// position + 1; the popper hands the cell back for the next round with position + capacity.
class SynthMessageQueue {
public:
    // `capacity` is rounded up to a power of two.
    explicit SynthMessageQueue(std::size_t capacity = 8192);
    SynthMessageQueue(const SynthMessageQueue&) = delete;
    SynthMessageQueue& operator=(const SynthMessageQueue&) = delete;

    // False when the queue is full (the message is not queued).
    bool push(std::uint32_t message);
    // The oldest message, or false when the queue is empty. One consumer thread only.
    bool pop(std::uint32_t& message);

    std::size_t capacity() const { return mask_ + 1; }

private:
    struct Cell {
        std::atomic<std::size_t> sequence;
        std::uint32_t message;
    };

    std::size_t mask_;
    std::unique_ptr<Cell[]> cells_;
    alignas(64) std::atomic<std::size_t> writePosition_{0};
    alignas(64) std::size_t readPosition_ = 0;
};

}  // namespace tv
