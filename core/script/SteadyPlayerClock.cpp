#include "core/script/SteadyPlayerClock.h"

#include "core/script/PlayerStopSignal.h"

#include <algorithm>
#include <thread>

namespace tv {
namespace {

// Long waits are taken in pieces, so that no time point near the end of the clock's range
// ever reaches the platform's wait.
constexpr std::chrono::hours longestWait{1};

}  // namespace

SteadyPlayerClock::SteadyPlayerClock(PlayerStopSignal* stop, PlayerTime yieldMargin)
    : stop_(stop), yieldMargin_(std::max(yieldMargin, PlayerTime::zero()))
{
}

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
        const bool stopped = stop_ && stop_->raised();
        if (left <= PlayerTime::zero() || stopped)
            return !stopped;
        if (left <= yieldMargin_) {
            std::this_thread::yield();
            ++yields_;
            continue;
        }
        const auto until = current + std::min<PlayerTime>(left - yieldMargin_, longestWait);
        if (stop_) {
            if (!stop_->sleepUntil(until))
                return false;
        } else {
            std::this_thread::sleep_until(until);
        }
    }
}

}  // namespace tv
