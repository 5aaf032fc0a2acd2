#include "core/script/ScriptPlayers.h"

#include "core/midi/MidiOutput.h"
#include "core/midi/MidiService.h"
#include "core/script/SteadyPlayerClock.h"

#include <system_error>

namespace tv {
namespace {

// Stands in for a missing device: the player sleeps through its script in silence.
class SilentService : public MidiService {
public:
    void send(std::uint32_t) override {}
};

}  // namespace

ScriptPlayers::ScriptPlayers(const MidiOutput& output)
    : service_(output.service() ? output.service() : std::make_shared<SilentService>())
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

bool ScriptPlayers::start(std::shared_ptr<const CompiledScript> code, PlayerReporter reporter)
{
    if (!code)
        return false;

    std::lock_guard lock(mutex_);
    if (stopped_)
        return false;
    reapFinished();
    Player& player = players_.emplace_back();
    running_.fetch_add(1);
    try {
        player.thread = std::thread([this, &player, code = std::move(code), service = service_,
                                     reporter = std::move(reporter), hook = threadStartHook_] {
            if (hook)
                hook();
            SteadyPlayerClock clock(&stop_);
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

void ScriptPlayers::stopAll()
{
    stop_.raise();
    std::list<Player> players;
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        players.splice(players.end(), players_);
    }
    for (auto& player : players)
        player.thread.join();
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
