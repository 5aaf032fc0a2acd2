#pragma once

#include "core/script/ChannelNoteTable.h"
#include "core/script/CompiledScript.h"
#include "core/script/PlayerStopSignal.h"
#include "core/script/ScriptPlayer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tv {

class MidiService;
class PitchOutput;

// The running script players of one MIDI output. Each player runs on a thread of its own,
// taken from a pool of threads started ahead so that a key press sounds at once: waking a
// waiting thread takes microseconds, while starting one costs more and, on a busy machine,
// now and then milliseconds. When every thread is busy the pool grows; threads beyond the
// first few end after they have waited idle for a while. The players share the channel note
// table, and all end cleanly, leaving nothing sounding, before the output closes.
class ScriptPlayers {
public:
    // Threads started ahead, and kept however long they wait.
    static constexpr std::size_t readyThreads = 4;

    // Players send through `output` (and play silently when it has no device); it must
    // outlive this object. Threads beyond the ready ones end after `spareIdle` without work.
    explicit ScriptPlayers(PitchOutput& output,
                           std::chrono::milliseconds spareIdle = std::chrono::seconds(30));
    ~ScriptPlayers();
    ScriptPlayers(const ScriptPlayers&) = delete;
    ScriptPlayers& operator=(const ScriptPlayers&) = delete;

    // Whose players they are (a keyboard window, say), so that one owner's players can be
    // stopped while others play on. Null belongs to no one in particular.
    using Owner = const void*;

    // Hands `code` to a waiting thread and returns at once; `reporter` gets the player's
    // messages on the player's thread. Gives false, starting nothing, when `code` is null,
    // after stopAll(), or when every thread is busy and the system cannot start another.
    bool start(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter = {},
               Owner owner = nullptr);

    // Stops every player of `owner` now: each sends the note-offs of the notes it started
    // and has not yet ended, and sends nothing more. Returns when they have ended. Later
    // starts for the owner are accepted.
    void stopOwner(Owner owner);

    // Stops every player started so far as stopOwner() does and forgets the notes they
    // started; the pool stays and takes later starts.
    void stopPlaying();

    // Stops every player as stopOwner() does, then ends the pool's threads. Later starts are
    // refused. Safe to call more than once.
    void stopAll();

    // Waits until every player started so far has ended by itself; the threads stay.
    void waitAll();

    // Runs once on every thread of the pool, before the thread's next player (at once on a
    // waiting thread, first thing on a thread started later): the platform may use it to ask
    // for a higher scheduling priority, which keeps waits on time on a busy machine.
    void setThreadStartHook(std::function<void()> hook);

    // Players started and not yet ended.
    std::size_t running() const { return running_.load(); }
    // Threads in the pool, busy or waiting.
    std::size_t threads() const;

    ChannelNoteTable& channelNotes() { return channelNotes_; }

private:
    struct Worker;

    void work(Worker& worker);
    // Starts a thread for `worker` and adds it to the pool; false when the system refuses.
    bool addWorker(std::unique_ptr<Worker> worker);
    // Joins the threads that left the pool; with mutex_ held.
    void joinLeavers();
    // Raises the stop signal of the players started so far that `which` picks and waits
    // until they have ended.
    template <typename Pick>
    void stopPlayers(Pick which);

    std::shared_ptr<MidiService> service_;
    ChannelNoteTable channelNotes_;
    const std::chrono::milliseconds spareIdle_;

    mutable std::mutex mutex_;
    std::condition_variable ended_;  // a player ended
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<Worker*> idle_;  // most recently idle last: the warmest thread goes first
    std::vector<std::unique_ptr<Worker>> leavers_;  // threads that ended, not yet joined
    std::uint64_t lastJob_ = 0;
    bool stopped_ = false;
    std::function<void()> threadStartHook_;
    std::uint64_t hookVersion_ = 0;
    std::atomic<std::size_t> running_{0};
};

}  // namespace tv
