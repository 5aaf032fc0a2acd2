#pragma once

#include <chrono>

namespace tv {

// Time on a player clock, counted from the clock's own origin.
using PlayerTime = std::chrono::nanoseconds;

// What a script player keeps time against. The real clock sleeps on the steady clock; tests
// hand in a clock that only records the waits, and an offline renderer one whose wait
// renders audio up to the due time.
class PlayerClock {
public:
    virtual ~PlayerClock() = default;
    virtual PlayerTime now() = 0;
    // Returns when `due` has come (at once if it has passed). False means the player must
    // stop now: the program is ending.
    virtual bool waitUntil(PlayerTime due) = 0;
};

}  // namespace tv
