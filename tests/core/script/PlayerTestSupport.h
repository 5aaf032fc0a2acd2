#pragma once

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiService.h"
#include "core/script/PlayerClock.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tv::test {

using namespace std::chrono_literals;

// A player clock that never sleeps: each wait moves its time to the due time (plus a
// lateness, to act out a late wake-up) and is recorded.
class FakeClock : public PlayerClock {
public:
    PlayerTime now() override { return current; }
    bool waitUntil(PlayerTime due) override
    {
        waits.push_back(due);
        if (stopAtWait && waits.size() >= *stopAtWait)
            return false;
        current = std::max(current, due) + lateness;
        return true;
    }

    PlayerTime current{0};
    PlayerTime lateness{0};
    std::optional<std::size_t> stopAtWait;  // this wait (counted from 1) says "stop"
    std::vector<PlayerTime> waits;
};

inline std::vector<long long> waitsInMs(const FakeClock& clock)
{
    std::vector<long long> out;
    for (const auto due : clock.waits)
        out.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(due).count());
    return out;
}

// Keeps every message as "time: hex" with the time of a fake clock in milliseconds.
class ClockedCapture : public MidiService {
public:
    explicit ClockedCapture(const FakeClock& clock) : clock_(clock) {}
    void send(std::uint32_t packed) override
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(clock_.current);
        events.push_back(std::to_string(ms.count()) + ": " + messageHex(packed));
    }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(clock_.current);
        events.push_back(std::to_string(ms.count()) + ": " + messageHex(message));
    }

    std::vector<std::string> events;

private:
    const FakeClock& clock_;
};

}  // namespace tv::test
