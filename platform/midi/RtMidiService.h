#pragma once

#include "core/midi/MidiService.h"
#include "platform/midi/MidiOutputInfo.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

class RtMidiOut;

namespace tv {

class JackCycleCounter;

// A MIDI output port reached through RtMidi (ALSA or JACK). RtMidi promises no thread
// safety, so one mutex serialises the user-interface thread and every player thread.
//
// ALSA hands each message to the sequencer before sendMessage returns. JACK only queues it
// for the next process cycle, so over JACK opening waits until the new connection carries
// data and closing waits until what was sent has left, each for at most settleLimit.
class RtMidiService : public MidiService {
public:
    static constexpr std::chrono::milliseconds settleLimit{100};
    // Cycles to wait after connecting: the connection takes effect at the start of a cycle
    // that begins after it was made, and the first counted cycle may have begun before.
    static constexpr int cyclesAfterOpen = 2;
    // Cycles to wait before closing: the first counted may have begun before the last send,
    // the second moves the queued messages out (its readers take them in the same cycle),
    // and the third begins only once the second has ended.
    static constexpr int cyclesBeforeClose = 3;

    // Opens the port; null and a description in `error` when that fails.
    static std::shared_ptr<RtMidiService> open(const MidiOutputInfo& port, std::string& error);
    ~RtMidiService() override;

    void send(std::uint32_t packed) override;
    void sendBytes(std::span<const std::uint8_t> message) override;
    // Any thread. Sends from other threads that come after close has begun are dropped; a
    // second caller returns once the first has closed the port.
    void close() override;

private:
    RtMidiService(std::unique_ptr<RtMidiOut> out, std::unique_ptr<JackCycleCounter> cycles,
                  bool jack);

    std::mutex closeMutex_;  // one close at a time; never taken by send
    std::mutex mutex_;       // guards out_ and cycles_
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<JackCycleCounter> cycles_;  // JACK only; null when the counter could not open
    const bool jack_;
};

}  // namespace tv
