#pragma once

#include "core/script/PlayerClock.h"

#include <cstdint>

namespace tv {

class PlayerStopSignal;

// Real time: the steady clock, with waits that a stop signal (when given) cuts short.
//
// A wait sleeps until `yieldMargin` before its due time and then gives the processor away
// in a loop until the time has come: the system's sleep may wake a thread a good fraction
// of a millisecond late, and that lateness would reach the MIDI stream; a thread that only
// yields is running when its time comes. A stop ends the wait in either phase.
class SteadyPlayerClock : public PlayerClock {
public:
    // Longer than a sleep usually oversleeps on an idle machine, short enough that the
    // yielding costs little.
    static constexpr PlayerTime defaultYieldMargin{300'000};

    explicit SteadyPlayerClock(PlayerStopSignal* stop = nullptr,
                               PlayerTime yieldMargin = defaultYieldMargin);

    PlayerTime now() override;
    bool waitUntil(PlayerTime due) override;

    // How often waits so far gave the processor away in their last phase.
    std::uint64_t yields() const { return yields_; }

private:
    PlayerStopSignal* stop_;
    PlayerTime yieldMargin_;
    std::uint64_t yields_ = 0;
};

}  // namespace tv
