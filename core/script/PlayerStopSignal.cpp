#include "core/script/PlayerStopSignal.h"

namespace tv {

void PlayerStopSignal::raise()
{
    {
        std::lock_guard lock(mutex_);
        raised_ = true;
    }
    wake_.notify_all();
}

bool PlayerStopSignal::raised() const
{
    std::lock_guard lock(mutex_);
    return raised_;
}

bool PlayerStopSignal::sleepUntil(std::chrono::steady_clock::time_point due)
{
    std::unique_lock lock(mutex_);
    return !wake_.wait_until(lock, due, [this] { return raised_; });
}

}  // namespace tv
