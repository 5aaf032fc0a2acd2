#include "core/script/ScriptPlayers.h"

#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/script/SteadyPlayerClock.h"

#include <system_error>

namespace tv {
namespace {

// Players send through the output, which knows what is sounding and drops every message
// when there is no device (the player still sleeps through its script).
class OutputService : public MidiService {
public:
    explicit OutputService(const MidiOutput& output) : output_(output) {}
    void send(std::uint32_t packed) override { output_.send(packed); }

private:
    const MidiOutput& output_;
};

}  // namespace

ScriptPlayers::ScriptPlayers(const MidiOutput& output)
    : service_(std::make_shared<OutputService>(output))
{
}

ScriptPlayers::~ScriptPlayers() { stopAll(); }

void ScriptPlayers::reapFinished()
{
    for (auto it = players_.begin(); it != players_.end();) {
        if (it->finished.load()) {
            it->thread.join();
            it = players_.erase(it);
        } else {
            ++it;
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
    reapFinished();
    Player& player = players_.emplace_back();
    player.owner = owner;
    running_.fetch_add(1);
    try {
        player.thread = std::thread([this, &player, code = std::move(code), service = service_,
                                     reporter = std::move(reporter), hook = threadStartHook_] {
            if (hook)
                hook();
            SteadyPlayerClock clock(&player.stop);
            runScript(*code, *service, channelNotes_, clock, reporter);
            running_.fetch_sub(1);
            player.finished.store(true);
        });
    } catch (const std::system_error&) {
        running_.fetch_sub(1);
        players_.pop_back();
        return false;
    }
    return true;
}

void ScriptPlayers::setThreadStartHook(std::function<void()> hook)
{
    std::lock_guard lock(mutex_);
    threadStartHook_ = std::move(hook);
}

template <typename Pick>
void ScriptPlayers::stopPlayers(Pick which, bool refuseLater)
{
    std::list<Player> stopping;
    {
        std::lock_guard lock(mutex_);
        if (refuseLater)
            stopped_ = true;
        for (auto it = players_.begin(); it != players_.end();) {
            const auto next = std::next(it);
            if (which(*it)) {
                it->stop.raise();
                stopping.splice(stopping.end(), players_, it);
            }
            it = next;
        }
    }
    for (auto& player : stopping)
        player.thread.join();
}

void ScriptPlayers::stopOwner(Owner owner)
{
    stopPlayers([owner](const Player& player) { return player.owner == owner; }, false);
}

void ScriptPlayers::stopAll()
{
    stopPlayers([](const Player&) { return true; }, true);
}

void ScriptPlayers::waitAll()
{
    std::list<Player> players;
    {
        std::lock_guard lock(mutex_);
        players.splice(players.end(), players_);
    }
    for (auto& player : players)
        player.thread.join();
}

}  // namespace tv
