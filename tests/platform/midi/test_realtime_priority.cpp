// Real-time scheduling for player threads. The order of the ways to it is followed on a
// played system; each case on the real one that lowers process limits or drops a privilege
// runs in a child process of its own, so it needs no root and leaves this process as it was;
// rtkit is played by a small service on a private bus.

#include "core/midi/MidiOutput.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "core/tuning/PitchOutput.h"
#include "platform/midi/RealtimePriority.h"
#include "support/CaptureMidiService.h"
#include "support/Needs.h"
#include "support/ScratchDirectory.h"

#include <dbus/dbus.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

extern char** environ;

namespace tv {
namespace {

using namespace std::chrono_literals;

int policyNow() { return sched_getscheduler(0) & ~SCHED_RESET_ON_FORK; }

int priorityNow()
{
    sched_param param{};
    sched_getparam(0, &param);
    return param.sched_priority;
}

// Capabilities belong to each thread: threads this one starts later lack the privilege too.
bool dropSysNiceHere()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << (CAP_SYS_NICE % 32);
    data[CAP_SYS_NICE / 32].effective &= ~bit;
    data[CAP_SYS_NICE / 32].permitted &= ~bit;
    data[CAP_SYS_NICE / 32].inheritable &= ~bit;
    return syscall(SYS_capset, &header, data) == 0;
}

// Runs `body` in a forked child and gives what it said: "" when every check held, else what
// went wrong.
std::string inChild(const std::function<std::string()>& body)
{
    int channel[2];
    if (pipe(channel) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const std::string said = body();
        if (write(channel[1], said.data(), said.size()) < 0)
            _exit(2);
        _exit(0);
    }
    close(channel[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the child ended abnormally: " + said;
    return said;
}

// What a request on a fresh thread got, and how that thread went on.
struct Request {
    RealtimeGrant grant = RealtimeGrant::Refused;
    int policy = -1;
    int priority = -1;
    bool ranOn = false;
    pid_t thread = 0;
};

Request requestOnAThread(int priority)
{
    Request request;
    std::thread([&] {
        request.thread = gettid();
        request.grant = makeThreadRealtime(priority);
        request.policy = policyNow();
        request.priority = priorityNow();
        request.ranOn = true;
    }).join();
    return request;
}

void hideTheSystemBus(const test::ScratchDirectory& scratch)
{
    setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + scratch.file("no-bus")).c_str(), 1);
}

TEST(RealtimePriority, ARefusalLeavesTheThreadRunningAsItWas)
{
    test::ScratchDirectory scratch;
    const std::string said = inChild([&]() -> std::string {
        hideTheSystemBus(scratch);
        const rlimit none{0, 0};
        if (setrlimit(RLIMIT_RTPRIO, &none) != 0 || !dropSysNiceHere())
            return "cannot take the privilege away";
        const Request request = requestOnAThread(playerRealtimePriority);
        if (request.grant != RealtimeGrant::Refused)
            return std::string("granted: ") + realtimeGrantName(request.grant);
        if (request.policy != SCHED_OTHER || !request.ranOn)
            return "the thread's scheduling changed or it stopped";
        return "";
    });
    EXPECT_EQ(said, "");
}

// A system with a given RLIMIT_RTPRIO, privilege and rtkit: SCHED_FIFO is allowed up to the
// soft limit, or at any priority with the privilege; only the privilege raises the hard limit.
struct PlayedSystem : RealtimeSystem {
    Limit limit;
    bool privileged = false;
    bool kitGrants = false;
    int fifo = 0;      // the priority the thread runs at, 0 while not real-time
    int kitAsked = 0;  // the priority rtkit was asked for

    bool setFifo(int priority) override
    {
        if (!privileged && static_cast<std::uint64_t>(priority) > limit.soft)
            return false;
        fifo = priority;
        return true;
    }
    bool priorityLimit(Limit& now) override
    {
        now = limit;
        return true;
    }
    bool setPriorityLimit(const Limit& wanted) override
    {
        if (wanted.soft > wanted.hard || (wanted.hard > limit.hard && !privileged))
            return false;
        limit = wanted;
        return true;
    }
    bool askRealtimeKit(int priority) override
    {
        kitAsked = priority;
        return kitGrants;
    }
};

TEST(RealtimePriority, TheFirstWayTheSystemAllowsIsTaken)
{
    constexpr auto unlimited = RealtimeSystem::Limit::unlimited;
    struct Case {
        const char* what;
        std::uint64_t soft, hard;
        bool privileged, kitGrants;
        int asked;
        RealtimeGrant grant;
        int fifo, kitAsked;
        std::uint64_t softAfter;
    };
    const Case cases[] = {
        {"privileged", 0, 0, true, true, 10, RealtimeGrant::Scheduler, 10, 0, 0},
        {"soft limit at the priority", 10, 10, false, false, 10, RealtimeGrant::Scheduler, 10, 0,
         10},
        {"soft limit below, hard above", 0, 20, false, false, 10, RealtimeGrant::RaisedLimit, 10, 0,
         20},
        {"soft limit below, hard below", 0, 5, false, false, 10, RealtimeGrant::RaisedLimit, 5, 0,
         5},
        {"both limits below", 5, 5, false, false, 10, RealtimeGrant::Scheduler, 5, 0, 5},
        {"no hard limit", 0, unlimited, false, false, 10, RealtimeGrant::RaisedLimit, 10, 0,
         unlimited},
        {"no limit, rtkit grants", 0, 0, false, true, 10, RealtimeGrant::RealtimeKit, 0, 10, 0},
        {"no limit, rtkit refuses", 0, 0, false, false, 10, RealtimeGrant::Refused, 0, 10, 0},
        {"priority 0 is not real-time", 0, 0, true, true, 0, RealtimeGrant::Refused, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayedSystem system;
        system.limit = {c.soft, c.hard};
        system.privileged = c.privileged;
        system.kitGrants = c.kitGrants;
        EXPECT_EQ(makeThreadRealtime(c.asked, system), c.grant);
        EXPECT_EQ(system.fifo, c.fifo);
        EXPECT_EQ(system.kitAsked, c.kitAsked);
        EXPECT_EQ(system.limit.soft, c.softAfter);
        EXPECT_EQ(system.limit.hard, c.hard);
    }
}

// Answers as rtkit does: its two limits, and MakeThreadRealtime, which it carries out on the
// thread (SCHED_RR, as rtkit sets it) when this process may.
class FakeRealtimeKit {
public:
    static constexpr dbus_int32_t maxPriority = 7;
    static constexpr dbus_int64_t maxRtTimeUs = 200000;

    explicit FakeRealtimeKit(const std::string& address)
    {
        DBusError error;
        dbus_error_init(&error);
        bus_ = dbus_connection_open_private(address.c_str(), &error);
        if (bus_ && dbus_bus_register(bus_, &error))
            owned_ = dbus_bus_request_name(bus_, "org.freedesktop.RealtimeKit1",
                                           DBUS_NAME_FLAG_DO_NOT_QUEUE,
                                           &error) == DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER;
        dbus_error_free(&error);
        if (owned_)
            server_ = std::thread([this] { serve(); });
    }
    ~FakeRealtimeKit()
    {
        done_ = true;
        if (server_.joinable())
            server_.join();
        if (bus_) {
            dbus_connection_close(bus_);
            dbus_connection_unref(bus_);
        }
    }
    bool ready() const { return owned_; }

    std::mutex mutex;
    std::uint64_t askedThread = 0;
    std::uint32_t askedPriority = 0;
    rlim_t rtTimeAtRequest = RLIM_INFINITY;  // the process's hard RLIMIT_RTTIME then
    bool applied = false;

private:
    void serve()
    {
        while (!done_ && dbus_connection_read_write(bus_, 20)) {
            while (DBusMessage* message = dbus_connection_pop_message(bus_)) {
                answer(message);
                dbus_message_unref(message);
            }
        }
    }

    void answer(DBusMessage* message)
    {
        DBusMessage* reply = nullptr;
        if (dbus_message_is_method_call(message, "org.freedesktop.DBus.Properties", "Get")) {
            const char* interface = nullptr;
            const char* name = nullptr;
            dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING,
                                  &name, DBUS_TYPE_INVALID);
            reply = dbus_message_new_method_return(message);
            DBusMessageIter args;
            DBusMessageIter variant;
            dbus_message_iter_init_append(reply, &args);
            if (name && std::strcmp(name, "MaxRealtimePriority") == 0) {
                dbus_message_iter_open_container(&args, DBUS_TYPE_VARIANT, "i", &variant);
                dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT32, &maxPriority);
            } else {
                dbus_message_iter_open_container(&args, DBUS_TYPE_VARIANT, "x", &variant);
                dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT64, &maxRtTimeUs);
            }
            dbus_message_iter_close_container(&args, &variant);
        } else if (dbus_message_is_method_call(message, "org.freedesktop.RealtimeKit1",
                                               "MakeThreadRealtime")) {
            dbus_uint64_t thread = 0;
            dbus_uint32_t priority = 0;
            dbus_message_get_args(message, nullptr, DBUS_TYPE_UINT64, &thread, DBUS_TYPE_UINT32,
                                  &priority, DBUS_TYPE_INVALID);
            rlimit rtTime{};
            getrlimit(RLIMIT_RTTIME, &rtTime);
            sched_param param{};
            param.sched_priority = static_cast<int>(priority);
            const bool done = sched_setscheduler(static_cast<pid_t>(thread),
                                                 SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0;
            {
                std::lock_guard lock(mutex);
                askedThread = thread;
                askedPriority = priority;
                rtTimeAtRequest = rtTime.rlim_max;
                applied = done;
            }
            reply = done ? dbus_message_new_method_return(message)
                         : dbus_message_new_error(message, DBUS_ERROR_ACCESS_DENIED, "refused");
        } else if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_CALL) {
            reply = dbus_message_new_error(message, DBUS_ERROR_UNKNOWN_METHOD, "unknown");
        }
        if (reply) {
            dbus_connection_send(bus_, reply, nullptr);
            dbus_connection_flush(bus_);
            dbus_message_unref(reply);
        }
    }

    DBusConnection* bus_ = nullptr;
    bool owned_ = false;
    std::atomic<bool> done_{false};
    std::thread server_;
};

// A private message bus for one test, ended with it.
class PrivateBus {
public:
    explicit PrivateBus(const test::ScratchDirectory& scratch)
        : socket_(scratch.file("bus")), address_("unix:path=" + socket_)
    {
        const std::string listen = "--address=" + address_;
        const char* argv[] = {"dbus-daemon", "--session", "--nofork", listen.c_str(), nullptr};
        // Its complaints about this sandbox's limits are no concern of the test.
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        const int spawned =
            posix_spawnp(&pid_, "dbus-daemon", &quiet, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (spawned != 0) {
            pid_ = 0;
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!std::filesystem::exists(socket_) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
    }
    ~PrivateBus()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool running() const { return pid_ > 0 && std::filesystem::exists(socket_); }
    const std::string& address() const { return address_; }

private:
    std::string socket_;
    std::string address_;
    pid_t pid_ = 0;
};

TEST(RealtimePriority, RtkitIsAskedWithinTheLimitsItAdvertises)
{
    test::ScratchDirectory scratch;
    PrivateBus bus(scratch);
    TV_NEEDS(bus.running(),
             "dbus-daemon (Debian package dbus-daemon), to stand in for the system bus");

    const std::string said = inChild([&]() -> std::string {
        setenv("DBUS_SYSTEM_BUS_ADDRESS", bus.address().c_str(), 1);
        const rlimit none{0, 0};
        if (setrlimit(RLIMIT_RTPRIO, &none) != 0)
            return "cannot lower RLIMIT_RTPRIO";
        // The service keeps this process's privilege (if it has one); the asking thread not.
        FakeRealtimeKit kit(bus.address());
        if (!kit.ready())
            return "the stand-in for rtkit did not get its name";
        if (!dropSysNiceHere())
            return "cannot take the privilege away";
        const Request request = requestOnAThread(playerRealtimePriority);

        std::lock_guard lock(kit.mutex);
        if (kit.askedThread != static_cast<std::uint64_t>(request.thread))
            return "asked for thread " + std::to_string(kit.askedThread);
        if (kit.askedPriority != static_cast<std::uint32_t>(FakeRealtimeKit::maxPriority))
            return "asked for priority " + std::to_string(kit.askedPriority);
        if (kit.rtTimeAtRequest > static_cast<rlim_t>(FakeRealtimeKit::maxRtTimeUs))
            return "RLIMIT_RTTIME not within rtkit's limit";
        const bool realtime =
            request.policy == SCHED_RR && request.priority == FakeRealtimeKit::maxPriority;
        if (kit.applied != (request.grant == RealtimeGrant::RealtimeKit) || kit.applied != realtime)
            return std::string("grant ") + realtimeGrantName(request.grant) + " for policy " +
                   std::to_string(request.policy);
        return request.ranOn ? "" : "the thread stopped";
    });
    EXPECT_EQ(said, "");
}

TEST(RealtimePriority, AsThePlayersStartHookItLeavesThemPlaying)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    MidiOutput output(capture);
    PitchOutput pitches(output);
    ScriptPlayers players(pitches);
    std::mutex mutex;
    std::vector<std::pair<RealtimeGrant, int>> hooked;
    players.setThreadStartHook([&] {
        const RealtimeGrant grant = makeThreadRealtime();
        std::lock_guard lock(mutex);
        hooked.emplace_back(grant, policyNow());
    });
    const auto code = compileScript("PLAY 1/1 3/2 5 ms").code;
    for (std::size_t i = 0; i < 2 * ScriptPlayers::readyThreads; ++i)
        ASSERT_TRUE(players.start(code));
    players.waitAll();
    const auto hex = capture->hex();
    EXPECT_EQ(static_cast<std::size_t>(std::count(hex.begin(), hex.end(), "90 3c 60")),
              2 * ScriptPlayers::readyThreads);
    players.stopAll();

    std::lock_guard lock(mutex);
    ASSERT_FALSE(hooked.empty());
    for (const auto& [grant, policy] : hooked) {
        const bool realtime = policy == SCHED_FIFO || policy == SCHED_RR;
        EXPECT_EQ(realtime, grant != RealtimeGrant::Refused) << realtimeGrantName(grant);
    }
}

}  // namespace
}  // namespace tv
