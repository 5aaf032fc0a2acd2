#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

namespace tv {

// A JACK client without ports that counts the server's process cycles. RtMidi's JACK output
// hands messages to its port only in the process cycle after they were sent, and a new
// connection takes effect only from a later cycle; counting cycles lets the output wait for
// both without knowing the server's period.
class JackCycleCounter {
public:
    // Opens and activates the client on the server JACK would choose for any client (the
    // JACK_DEFAULT_SERVER environment variable, else the default one). Null when that fails.
    static std::unique_ptr<JackCycleCounter> open();
    ~JackCycleCounter();
    JackCycleCounter(const JackCycleCounter&) = delete;
    JackCycleCounter& operator=(const JackCycleCounter&) = delete;

    // Blocks until `cycles` process cycles in a row have run after the call with no overrun
    // reported among them, or until `limit` has passed; true when they ran. The first of them
    // may have begun before the call. A cycle that overran may have left other clients'
    // work unfinished, so the count starts again after one.
    bool waitForCycles(int cycles, std::chrono::milliseconds limit) const;
    std::uint64_t cycles() const { return cycles_.load(std::memory_order_acquire); }
    std::uint64_t overruns() const { return overruns_.load(std::memory_order_acquire); }

private:
    JackCycleCounter() = default;
    static int process(jack_nframes_t frames, void* self);
    static int overrun(void* self);

    jack_client_t* client_ = nullptr;
    std::atomic<std::uint64_t> cycles_{0};
    std::atomic<std::uint64_t> overruns_{0};
};

}  // namespace tv
