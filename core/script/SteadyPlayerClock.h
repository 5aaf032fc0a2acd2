#pragma once

#include "core/script/PlayerClock.h"

namespace tv {

class PlayerStopSignal;

// Real time: the steady clock, with waits that a stop signal (when given) cuts short.
class SteadyPlayerClock : public PlayerClock {
public:
    explicit SteadyPlayerClock(PlayerStopSignal* stop = nullptr) : stop_(stop) {}

    PlayerTime now() override;
    bool waitUntil(PlayerTime due) override;

private:
    PlayerStopSignal* stop_;
};

}  // namespace tv
