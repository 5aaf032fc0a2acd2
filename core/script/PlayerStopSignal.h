#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tv {

// Wakes a sleeping player at once when it must stop. Once raised it stays raised until the
// pool re-arms it for the thread's next player.
class PlayerStopSignal {
public:
    void raise();
    // Cheap enough to ask in a loop that yields the processor while a wait runs out.
    bool raised() const { return raised_.load(std::memory_order_acquire); }
    // Sleeps until `due` on the steady clock; false as soon as the signal is raised.
    bool sleepUntil(std::chrono::steady_clock::time_point due);
    // Lowers the signal again; only while no one waits on it.
    void rearm();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> raised_{false};
};

}  // namespace tv
