#include "platform/midi/JackCycleCounter.h"

#include "platform/midi/BackendQuiet.h"

#include <thread>

namespace tv {

std::unique_ptr<JackCycleCounter> JackCycleCounter::open()
{
    BackendQuiet quiet;
    std::unique_ptr<JackCycleCounter> counter(new JackCycleCounter);
    jack_status_t status;
    counter->client_ = jack_client_open("Tonalvane timing", JackNoStartServer, &status);
    if (!counter->client_)
        return nullptr;
    if (jack_set_process_callback(counter->client_, &JackCycleCounter::process, counter.get()) !=
            0 ||
        jack_set_xrun_callback(counter->client_, &JackCycleCounter::overrun, counter.get()) != 0 ||
        jack_activate(counter->client_) != 0)
        return nullptr;
    return counter;
}

JackCycleCounter::~JackCycleCounter()
{
    if (!client_)
        return;
    jack_deactivate(client_);
    jack_client_close(client_);
}

int JackCycleCounter::process(jack_nframes_t, void* self)
{
    static_cast<JackCycleCounter*>(self)->cycles_.fetch_add(1, std::memory_order_release);
    return 0;
}

int JackCycleCounter::overrun(void* self)
{
    static_cast<JackCycleCounter*>(self)->overruns_.fetch_add(1, std::memory_order_release);
    return 0;
}

bool JackCycleCounter::waitForCycles(int cycles, std::chrono::milliseconds limit) const
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::uint64_t seenOverruns = overruns();
    std::uint64_t target = this->cycles() + static_cast<std::uint64_t>(cycles);
    while (this->cycles() < target) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (const std::uint64_t now = overruns(); now != seenOverruns) {
            seenOverruns = now;
            target = this->cycles() + static_cast<std::uint64_t>(cycles);
        }
    }
    return true;
}

}  // namespace tv
