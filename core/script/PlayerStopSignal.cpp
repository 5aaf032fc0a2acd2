#include "core/script/PlayerStopSignal.h"

namespace tv {

void PlayerStopSignal::raise()
{
    {
        // Under the lock, so that a sleeper between its check and its wait cannot miss it.
        std::lock_guard lock(mutex_);
        raised_.store(true, std::memory_order_release);
    }
    wake_.notify_all();
}

bool PlayerStopSignal::sleepUntil(std::chrono::steady_clock::time_point due)
{
    std::unique_lock lock(mutex_);
    return !wake_.wait_until(lock, due, [this] { return raised_.load(); });
}

void PlayerStopSignal::rearm()
{
    std::lock_guard lock(mutex_);
    raised_.store(false, std::memory_order_release);
}

}  // namespace tv
