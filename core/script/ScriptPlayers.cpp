#include "core/script/ScriptPlayers.h"

#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/script/SteadyPlayerClock.h"
#include "core/tuning/PitchOutput.h"

#include <algorithm>
#include <system_error>

namespace tv {
namespace {

// Players send through the tuning method in use, which turns the channels, notes and bends
// of byte code (written for the default bend range) into what the output's synthesizer is to
// hear. The output knows what is sounding and drops every message when there is no device
// (the player still sleeps through its script).
class OutputService : public MidiService {
public:
    explicit OutputService(PitchOutput& output) : output_(output) {}
    void send(std::uint32_t packed) override { output_.method().sendScriptMessage(packed, this); }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        output_.midi().sendBytes(message);
    }

private:
    PitchOutput& output_;
};

}  // namespace

// One thread of the pool and the player it runs. Everything but the thread, the wake-up
// and the stop signal is guarded by the pool's mutex.
struct ScriptPlayers::Worker {
    std::thread thread;
    std::condition_variable wake;
    PlayerStopSignal stop;

    std::uint64_t job = 0;  // the number of the player handed to it, 0 while it waits
    Owner owner = nullptr;
    std::shared_ptr<const CompiledScript> code;
    PlayerReporter reporter;
    std::uint64_t hookVersion = 0;  // the start hook it has run
    bool quit = false;
};

ScriptPlayers::ScriptPlayers(PitchOutput& output, std::chrono::milliseconds spareIdle)
    : service_(std::make_shared<OutputService>(output)), spareIdle_(spareIdle)
{
    std::lock_guard lock(mutex_);
    idle_.reserve(readyThreads * 4);
    for (std::size_t i = 0; i < readyThreads; ++i) {
        auto worker = std::make_unique<Worker>();
        Worker* waiting = worker.get();
        if (!addWorker(std::move(worker)))
            break;  // start() tries again when it needs a thread
        idle_.push_back(waiting);
    }
}

ScriptPlayers::~ScriptPlayers() { stopAll(); }

bool ScriptPlayers::addWorker(std::unique_ptr<Worker> worker)
{
    Worker& added = *worker;
    try {
        added.thread = std::thread([this, &added] { work(added); });
    } catch (const std::system_error&) {
        return false;
    }
    workers_.push_back(std::move(worker));
    return true;
}

void ScriptPlayers::joinLeavers()
{
    // A leaver gave up the mutex for good when it left, so the join cannot wait on us.
    for (auto& leaver : leavers_)
        leaver->thread.join();
    leavers_.clear();
}

void ScriptPlayers::work(Worker& worker)
{
    std::unique_lock lock(mutex_);
    for (;;) {
        if (worker.hookVersion != hookVersion_ && !worker.quit) {
            worker.hookVersion = hookVersion_;
            const std::function<void()> hook = threadStartHook_;
            // While the hook runs (it may ask another process), presses go elsewhere.
            const auto waiting = std::find(idle_.begin(), idle_.end(), &worker);
            const bool wasIdle = waiting != idle_.end();
            if (wasIdle)
                idle_.erase(waiting);
            lock.unlock();
            if (hook)
                hook();
            lock.lock();
            if (wasIdle && !worker.quit)
                idle_.push_back(&worker);
            continue;
        }
        if (worker.job != 0) {
            auto code = std::move(worker.code);
            auto reporter = std::move(worker.reporter);
            lock.unlock();
            // A player stopped before it began sends nothing at all.
            if (!worker.stop.raised()) {
                SteadyPlayerClock clock(&worker.stop);
                runScript(*code, *service_, channelNotes_, clock, reporter);
            }
            // The last share of the code, and the reporter, go without the lock held.
            code.reset();
            reporter = nullptr;
            lock.lock();
            worker.job = 0;
            worker.owner = nullptr;
            if (!worker.quit)
                idle_.push_back(&worker);
            running_.fetch_sub(1);
            ended_.notify_all();
            continue;
        }
        if (worker.quit)
            return;
        const bool woken = worker.wake.wait_for(lock, spareIdle_, [&] {
            return worker.job != 0 || worker.quit || worker.hookVersion != hookVersion_;
        });
        if (!woken && workers_.size() > readyThreads) {
            // A spare thread that found no work for a while leaves; the next growth or the
            // end of the pool joins it.
            idle_.erase(std::find(idle_.begin(), idle_.end(), &worker));
            const auto self = std::find_if(workers_.begin(), workers_.end(),
                                           [&](const auto& w) { return w.get() == &worker; });
            leavers_.push_back(std::move(*self));
            workers_.erase(self);
            return;
        }
    }
}

bool ScriptPlayers::start(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter,
                          Owner owner)
{
    if (!code)
        return false;

    std::lock_guard lock(mutex_);
    if (stopped_)
        return false;
    std::unique_ptr<Worker> fresh;
    Worker* worker = nullptr;
    if (!idle_.empty()) {
        worker = idle_.back();
        idle_.pop_back();
    } else {
        fresh = std::make_unique<Worker>();
        worker = fresh.get();
    }
    worker->job = ++lastJob_;
    worker->owner = owner;
    worker->code = std::move(code);
    worker->reporter = std::move(reporter);
    worker->stop.rearm();
    running_.fetch_add(1);
    if (!fresh) {
        worker->wake.notify_one();
        return true;
    }
    // Every thread is busy: the pool grows by one, which starts on this player.
    joinLeavers();
    if (!addWorker(std::move(fresh))) {
        running_.fetch_sub(1);
        return false;
    }
    return true;
}

void ScriptPlayers::setThreadStartHook(std::function<void()> hook)
{
    std::lock_guard lock(mutex_);
    threadStartHook_ = std::move(hook);
    ++hookVersion_;
    for (const auto& worker : workers_)
        worker->wake.notify_one();
}

std::size_t ScriptPlayers::threads() const
{
    std::lock_guard lock(mutex_);
    return workers_.size();
}

template <typename Pick>
void ScriptPlayers::stopPlayers(Pick which)
{
    std::unique_lock lock(mutex_);
    const std::uint64_t last = lastJob_;
    const auto picked = [&](const std::unique_ptr<Worker>& worker) {
        return worker->job != 0 && worker->job <= last && which(*worker);
    };
    for (const auto& worker : workers_) {
        if (picked(worker))
            worker->stop.raise();
    }
    ended_.wait(lock, [&] { return std::none_of(workers_.begin(), workers_.end(), picked); });
}

void ScriptPlayers::stopOwner(Owner owner)
{
    stopPlayers([owner](const Worker& worker) { return worker.owner == owner; });
}

void ScriptPlayers::stopPlaying()
{
    stopPlayers([](const Worker&) { return true; });
    for (int channel = 0; channel < ChannelNoteTable::channels; ++channel)
        channelNotes_.exchange(channel, ChannelNoteTable::none);
}

void ScriptPlayers::waitAll()
{
    std::unique_lock lock(mutex_);
    const std::uint64_t last = lastJob_;
    ended_.wait(lock, [&] {
        return std::none_of(workers_.begin(), workers_.end(), [last](const auto& worker) {
            return worker->job != 0 && worker->job <= last;
        });
    });
}

void ScriptPlayers::stopAll()
{
    std::vector<std::unique_ptr<Worker>> ending;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        for (auto& worker : workers_) {
            if (worker->job != 0)
                worker->stop.raise();
            worker->quit = true;
            worker->wake.notify_one();
        }
        ending = std::move(workers_);
        workers_.clear();
        idle_.clear();
        for (auto& leaver : leavers_)
            ending.push_back(std::move(leaver));
        leavers_.clear();
    }
    for (auto& worker : ending)
        worker->thread.join();
}

}  // namespace tv
