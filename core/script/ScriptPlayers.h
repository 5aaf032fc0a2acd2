#pragma once

#include "core/script/ChannelNoteTable.h"
#include "core/script/CompiledScript.h"
#include "core/script/PlayerStopSignal.h"
#include "core/script/ScriptPlayer.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace tv {

class MidiService;

class MidiOutput;

// The running script players of one MIDI output: starts each on a thread of its own, shares
// the channel note table among them, and ends them all cleanly before the output closes.
class ScriptPlayers {
public:
    // Players send through `output` (and play silently when it has no device); it must
    // outlive this object.
    explicit ScriptPlayers(const MidiOutput& output);
    ~ScriptPlayers();
    ScriptPlayers(const ScriptPlayers&) = delete;
    ScriptPlayers& operator=(const ScriptPlayers&) = delete;

    // Whose players they are (a keyboard window, say), so that one owner's players can be
    // stopped while others play on. Null belongs to no one in particular.
    using Owner = const void*;

    // Starts a player on `code`; `reporter` gets the player's messages on the player's
    // thread. Gives false, starting nothing, when `code` is null, after stopAll(), or when
    // the system cannot start another thread.
    bool start(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter = {},
               Owner owner = nullptr);

    // Wakes every sleeping player of `owner`, which then ends without sending anything more,
    // and waits for them. Later starts for the owner are accepted.
    void stopOwner(Owner owner);

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
        Owner owner = nullptr;
        PlayerStopSignal stop;
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    // Raises the stop signal of every player `which` picks, takes them out of the list and
    // waits for them; `refuseLater` then refuses every later start.
    template <typename Pick>
    void stopPlayers(Pick which, bool refuseLater);

    void reapFinished();  // with mutex_ held

    std::shared_ptr<MidiService> service_;
    ChannelNoteTable channelNotes_;
    std::mutex mutex_;
    std::list<Player> players_;
    bool stopped_ = false;
    std::function<void()> threadStartHook_;
    std::atomic<std::size_t> running_{0};
};

}  // namespace tv
