#pragma once

#include "script/ChannelNoteTable.h"
#include "script/CompiledScript.h"
#include "script/PlayerStopSignal.h"
#include "script/ScriptPlayer.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace tv {

class MidiService;

// The running script players of one MIDI output: starts each on a thread of its own, shares
// the channel note table among them, and ends them all cleanly when the output closes.
class PlayerThreads {
public:
    PlayerThreads() = default;
    ~PlayerThreads();
    PlayerThreads(const PlayerThreads&) = delete;
    PlayerThreads& operator=(const PlayerThreads&) = delete;

    // Starts a player on `code` sending to `service` (a null service drops every message;
    // the player still keeps its time). Gives false, starting nothing, when `code` is null,
    // after stopAll(), or when the system cannot start another thread.
    bool start(std::shared_ptr<const CompiledScript> code, std::shared_ptr<MidiService> service,
               PlayerReporter reporter);

    // Wakes every sleeping player, which then ends without sending anything more, and waits
    // for all of them. Later starts are refused. Safe to call more than once.
    void stopAll();

    // Waits until every player started so far has ended by itself.
    void waitAll();

    // Runs first on every player thread started afterwards: the platform may use it to ask
    // for a higher scheduling priority, which keeps waits on time on a busy machine.
    void setThreadStartHook(std::function<void()> hook);

    // Players started and not yet ended.
    std::size_t running() const { return running_.load(); }

    ChannelNoteTable& channelNotes() { return channelNotes_; }

private:
    struct Player {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    void reapFinished();  // with mutex_ held

    ChannelNoteTable channelNotes_;
    PlayerStopSignal stop_;
    std::mutex mutex_;
    std::list<Player> players_;
    bool stopped_ = false;
    std::function<void()> threadStartHook_;
    std::atomic<std::size_t> running_{0};
};

}  // namespace tv
