#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tv {

// Wakes every sleeping player at once when the program ends. Once raised it stays raised.
class PlayerStopSignal {
public:
    void raise();
    bool raised() const;
    // Sleeps until `due` on the steady clock; false as soon as the signal is raised.
    bool sleepUntil(std::chrono::steady_clock::time_point due);

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool raised_ = false;
};

}  // namespace tv
