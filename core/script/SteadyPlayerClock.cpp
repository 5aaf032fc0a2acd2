#include "core/script/SteadyPlayerClock.h"

#include "core/script/PlayerStopSignal.h"

#include <thread>

namespace tv {
namespace {

// Long waits are taken in pieces, so that no time point near the end of the clock's range
// ever reaches the platform's wait.
constexpr std::chrono::hours longestWait{1};

}  // namespace

PlayerTime SteadyPlayerClock::now()
{
    return std::chrono::duration_cast<PlayerTime>(
        std::chrono::steady_clock::now().time_since_epoch());
}

bool SteadyPlayerClock::waitUntil(PlayerTime due)
{
    for (;;) {
        const auto current = std::chrono::steady_clock::now();
        const PlayerTime left =
            due - std::chrono::duration_cast<PlayerTime>(current.time_since_epoch());
        if (left <= PlayerTime::zero())
            return !(stop_ && stop_->raised());
        const auto until = current + std::min<PlayerTime>(left, longestWait);
        if (stop_) {
            if (!stop_->sleepUntil(until))
                return false;
        } else {
            std::this_thread::sleep_until(until);
        }
    }
}

}  // namespace tv
