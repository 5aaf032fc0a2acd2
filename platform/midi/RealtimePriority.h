#pragma once

#include <cstdint>

namespace tv {

// How the calling thread came to real-time scheduling, or that it did not.
enum class RealtimeGrant {
    Scheduler,    // the system let the thread set it itself (privilege or RLIMIT_RTPRIO)
    RaisedLimit,  // after raising the soft RLIMIT_RTPRIO towards its hard limit
    RealtimeKit,  // rtkit granted it over the system bus
    Refused,      // none of these: the thread runs on as it did
};

// Above every ordinary thread, well below audio servers and the kernel's own real-time
// threads, which must never wait for a player.
inline constexpr int playerRealtimePriority = 10;

// What makeThreadRealtime asks of the system, for the calling thread and this process. Tests
// hand in one that plays a system with given limits and privileges.
class RealtimeSystem {
public:
    // RLIMIT_RTPRIO; `unlimited` stands for RLIM_INFINITY.
    struct Limit {
        static constexpr std::uint64_t unlimited = ~std::uint64_t{0};
        std::uint64_t soft = 0;
        std::uint64_t hard = 0;
    };

    virtual ~RealtimeSystem() = default;
    // SCHED_FIFO (reset in children) at `priority`.
    virtual bool setFifo(int priority) = 0;
    virtual bool priorityLimit(Limit& limit) = 0;
    virtual bool setPriorityLimit(const Limit& limit) = 0;
    // rtkit over the system bus: true once the thread runs real-time through it.
    virtual bool askRealtimeKit(int priority) = 0;
};

// Makes the calling thread real-time (SCHED_FIFO, reset in children) at `priority`, or at
// the highest priority below it that the system allows: first by itself, then by raising
// the soft RLIMIT_RTPRIO to the hard limit, then through rtkit over the system bus (within
// the priority and CPU-time limits rtkit advertises). Fails silently: a thread that cannot
// have it runs on with the scheduling it had. Meant for player threads, which sleep most
// of the time and never run for long without waiting.
RealtimeGrant makeThreadRealtime(int priority = playerRealtimePriority);
// The same through `system`.
RealtimeGrant makeThreadRealtime(int priority, RealtimeSystem& system);

// A short name for the grant, for benchmarks and logs ("SCHED_FIFO", "rtkit", ...).
const char* realtimeGrantName(RealtimeGrant grant);

}  // namespace tv
