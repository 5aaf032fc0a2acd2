#include "platform/midi/RealtimePriority.h"

#if defined(__linux__)

#include <dbus/dbus.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace tv {
namespace {

constexpr const char* rtkitService = "org.freedesktop.RealtimeKit1";
constexpr const char* rtkitPath = "/org/freedesktop/RealtimeKit1";
// rtkit answers at once; a bus that does not must not hold a thread for long.
constexpr int busTimeoutMs = 1000;

bool runsRealtime()
{
    const int policy = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

// On Linux a scheduling call for "process 0" acts on the calling thread alone.
bool setFifo(int priority)
{
    sched_param param{};
    param.sched_priority = priority;
    return sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
}

// A private connection to the system bus, closed when it goes; a shared one would belong to
// whoever else in the process uses libdbus.
class SystemBus {
public:
    SystemBus()
    {
        static const bool threadsReady = dbus_threads_init_default() != 0;
        if (!threadsReady)
            return;
        DBusError error;
        dbus_error_init(&error);
        bus_ = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
        dbus_error_free(&error);
        // libdbus would otherwise end the whole program when the bus goes away.
        if (bus_)
            dbus_connection_set_exit_on_disconnect(bus_, FALSE);
    }
    ~SystemBus()
    {
        if (bus_) {
            dbus_connection_close(bus_);
            dbus_connection_unref(bus_);
        }
    }
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    explicit operator bool() const { return bus_ != nullptr; }

    // Sends `call` (taking it) and gives the reply, or null for an error reply or none.
    DBusMessage* call(DBusMessage* call) const
    {
        if (!call)
            return nullptr;
        DBusError error;
        dbus_error_init(&error);
        DBusMessage* reply =
            dbus_connection_send_with_reply_and_block(bus_, call, busTimeoutMs, &error);
        dbus_message_unref(call);
        dbus_error_free(&error);
        return reply;
    }

    // One of rtkit's properties, of D-Bus type `type`, into `value`.
    bool property(const char* name, int type, void* value) const
    {
        DBusMessage* get = dbus_message_new_method_call(rtkitService, rtkitPath,
                                                        "org.freedesktop.DBus.Properties", "Get");
        if (!get)
            return false;
        const char* interface = rtkitService;
        if (!dbus_message_append_args(get, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &name,
                                      DBUS_TYPE_INVALID)) {
            dbus_message_unref(get);
            return false;
        }
        DBusMessage* reply = call(get);
        if (!reply)
            return false;
        bool ok = false;
        DBusMessageIter args;
        DBusMessageIter variant;
        if (dbus_message_iter_init(reply, &args) &&
            dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_VARIANT) {
            dbus_message_iter_recurse(&args, &variant);
            if (dbus_message_iter_get_arg_type(&variant) == type) {
                dbus_message_iter_get_basic(&variant, value);
                ok = true;
            }
        }
        dbus_message_unref(reply);
        return ok;
    }

private:
    DBusConnection* bus_ = nullptr;
};

bool askRealtimeKit(int priority)
{
    const SystemBus bus;
    if (!bus)
        return false;
    dbus_int32_t maxPriority = 0;
    dbus_int64_t maxRtTimeUs = 0;
    if (!bus.property("MaxRealtimePriority", DBUS_TYPE_INT32, &maxPriority) ||
        !bus.property("RTTimeUSecMax", DBUS_TYPE_INT64, &maxRtTimeUs))
        return false;
    const int granted = std::min(priority, static_cast<int>(maxPriority));
    if (granted < 1 || maxRtTimeUs <= 0)
        return false;

    // rtkit only serves a process that a runaway real-time thread cannot take over: its
    // CPU time without a blocking call must be limited to what rtkit allows.
    rlimit rtTime{};
    if (getrlimit(RLIMIT_RTTIME, &rtTime) != 0)
        return false;
    const auto allowed = static_cast<rlim_t>(maxRtTimeUs);
    if (rtTime.rlim_max == RLIM_INFINITY || rtTime.rlim_max > allowed)
        rtTime.rlim_max = allowed;
    if (rtTime.rlim_cur == RLIM_INFINITY || rtTime.rlim_cur > rtTime.rlim_max)
        rtTime.rlim_cur = rtTime.rlim_max;
    if (setrlimit(RLIMIT_RTTIME, &rtTime) != 0)
        return false;

    DBusMessage* make =
        dbus_message_new_method_call(rtkitService, rtkitPath, rtkitService, "MakeThreadRealtime");
    if (!make)
        return false;
    const dbus_uint64_t thread = static_cast<dbus_uint64_t>(gettid());
    const dbus_uint32_t wanted = static_cast<dbus_uint32_t>(granted);
    if (!dbus_message_append_args(make, DBUS_TYPE_UINT64, &thread, DBUS_TYPE_UINT32, &wanted,
                                  DBUS_TYPE_INVALID)) {
        dbus_message_unref(make);
        return false;
    }
    DBusMessage* reply = bus.call(make);
    if (!reply)
        return false;
    dbus_message_unref(reply);
    return runsRealtime();
}

// The running system itself.
class LinuxRealtimeSystem : public RealtimeSystem {
public:
    bool setFifo(int priority) override { return tv::setFifo(priority); }
    bool priorityLimit(Limit& limit) override
    {
        rlimit now{};
        if (getrlimit(RLIMIT_RTPRIO, &now) != 0)
            return false;
        limit.soft = now.rlim_cur == RLIM_INFINITY ? Limit::unlimited : now.rlim_cur;
        limit.hard = now.rlim_max == RLIM_INFINITY ? Limit::unlimited : now.rlim_max;
        return true;
    }
    bool setPriorityLimit(const Limit& limit) override
    {
        rlimit wanted{};
        wanted.rlim_cur = limit.soft == Limit::unlimited ? RLIM_INFINITY : limit.soft;
        wanted.rlim_max = limit.hard == Limit::unlimited ? RLIM_INFINITY : limit.hard;
        return setrlimit(RLIMIT_RTPRIO, &wanted) == 0;
    }
    bool askRealtimeKit(int priority) override { return tv::askRealtimeKit(priority); }
};

}  // namespace

RealtimeGrant makeThreadRealtime(int priority)
{
    LinuxRealtimeSystem system;
    return makeThreadRealtime(priority, system);
}

RealtimeGrant makeThreadRealtime(int priority, RealtimeSystem& system)
{
    using Limit = RealtimeSystem::Limit;
    if (priority < 1)
        return RealtimeGrant::Refused;
    if (system.setFifo(priority))
        return RealtimeGrant::Scheduler;

    // Within RLIMIT_RTPRIO, lower priorities are allowed, and a soft limit below the hard one
    // may be raised by anyone.
    Limit limit;
    if (system.priorityLimit(limit) && limit.hard != 0) {
        const int allowed = limit.hard == Limit::unlimited
                                ? priority
                                : static_cast<int>(std::min<std::uint64_t>(limit.hard, priority));
        bool raised = false;
        if (limit.soft != Limit::unlimited && limit.soft < static_cast<std::uint64_t>(allowed)) {
            limit.soft = limit.hard;
            raised = system.setPriorityLimit(limit);
        }
        if (system.setFifo(allowed))
            return raised ? RealtimeGrant::RaisedLimit : RealtimeGrant::Scheduler;
    }

    if (system.askRealtimeKit(priority))
        return RealtimeGrant::RealtimeKit;
    return RealtimeGrant::Refused;
}

}  // namespace tv

#else

namespace tv {

// Elsewhere players keep the scheduling they start with.
RealtimeGrant makeThreadRealtime(int) { return RealtimeGrant::Refused; }
RealtimeGrant makeThreadRealtime(int, RealtimeSystem&) { return RealtimeGrant::Refused; }

}  // namespace tv

#endif

namespace tv {

const char* realtimeGrantName(RealtimeGrant grant)
{
    switch (grant) {
    case RealtimeGrant::Scheduler: return "SCHED_FIFO";
    case RealtimeGrant::RaisedLimit: return "SCHED_FIFO, soft RLIMIT_RTPRIO raised";
    case RealtimeGrant::RealtimeKit: return "real-time through rtkit";
    case RealtimeGrant::Refused: break;
    }
    return "refused, default scheduling";
}

}  // namespace tv
