#pragma once

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

// Makes the calling thread real-time (SCHED_FIFO, reset in children) at `priority`, or at
// the highest priority below it that the system allows: first by itself, then by raising
// the soft RLIMIT_RTPRIO to the hard limit, then through rtkit over the system bus (within
// the priority and CPU-time limits rtkit advertises). Fails silently: a thread that cannot
// have it runs on with the scheduling it had. Meant for player threads, which sleep most
// of the time and never run for long without waiting.
RealtimeGrant makeThreadRealtime(int priority = playerRealtimePriority);

// A short name for the grant, for benchmarks and logs ("SCHED_FIFO", "rtkit", ...).
const char* realtimeGrantName(RealtimeGrant grant);

}  // namespace tv
