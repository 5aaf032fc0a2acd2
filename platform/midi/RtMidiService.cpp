#include "platform/midi/RtMidiService.h"

#include "core/midi/MidiMessage.h"
#include "platform/midi/BackendQuiet.h"
#include "platform/midi/JackCycleCounter.h"

#include <rtmidi/RtMidi.h>

#include <thread>

namespace tv {
namespace {

// Waits for `cycles` process cycles of the JACK server, or for the whole limit when they
// cannot be counted.
void settle(const JackCycleCounter* counter, int cycles)
{
    if (counter)
        counter->waitForCycles(cycles, RtMidiService::settleLimit);
    else
        std::this_thread::sleep_for(RtMidiService::settleLimit);
}

}  // namespace

RtMidiService::RtMidiService(std::unique_ptr<RtMidiOut> out,
                             std::unique_ptr<JackCycleCounter> cycles, bool jack)
    : out_(std::move(out)), cycles_(std::move(cycles)), jack_(jack)
{
}

RtMidiService::~RtMidiService() { close(); }

std::shared_ptr<RtMidiService> RtMidiService::open(const MidiOutputInfo& port, std::string& error)
{
    const bool jack = port.kind == MidiOutputInfo::Kind::Jack;
    BackendQuiet quiet;
    try {
        auto out =
            std::make_unique<RtMidiOut>(jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA, "Tonalvane");
        // Port numbers can shift between listing and opening; find the port by name again.
        const unsigned count = out->getPortCount();
        unsigned index = port.portIndex;
        for (unsigned i = 0; i < count; ++i) {
            if (out->getPortName(i) == port.name) {
                index = i;
                break;
            }
        }
        if (index >= count) {
            error = "The MIDI output \"" + port.name + "\" is no longer available.";
            return nullptr;
        }
        out->openPort(index, "Tonalvane output");
        if (!out->isPortOpen()) {
            error = quiet.text().empty() ? "Unable to open the MIDI output \"" + port.name + "\"."
                                         : quiet.text();
            return nullptr;
        }
        std::unique_ptr<JackCycleCounter> cycles;
        if (jack) {
            // Messages handed over before the connection carries data would be dropped.
            cycles = JackCycleCounter::open();
            settle(cycles.get(), cyclesAfterOpen);
        }
        return std::shared_ptr<RtMidiService>(
            new RtMidiService(std::move(out), std::move(cycles), jack));
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return nullptr;
    }
}

void RtMidiService::send(std::uint32_t packed)
{
    const unsigned char bytes[3] = {messageStatus(packed), messageData1(packed),
                                    messageData2(packed)};
    std::lock_guard lock(mutex_);
    if (!out_)
        return;
    try {
        out_->sendMessage(bytes, static_cast<std::size_t>(messageLength(packed)));
    } catch (const RtMidiError&) {
        // A refused message is dropped, as a device that went away drops it.
    }
}

void RtMidiService::sendBytes(std::span<const std::uint8_t> message)
{
    std::lock_guard lock(mutex_);
    if (!out_ || message.empty())
        return;
    try {
        out_->sendMessage(message.data(), message.size());
    } catch (const RtMidiError&) {
    }
}

void RtMidiService::close()
{
    std::lock_guard closing(closeMutex_);
    std::unique_ptr<RtMidiOut> out;
    std::unique_ptr<JackCycleCounter> cycles;
    {
        // From here on sends find no port and drop their message at once.
        std::lock_guard lock(mutex_);
        out = std::move(out_);
        cycles = std::move(cycles_);
    }
    if (!out)
        return;
    if (jack_)
        settle(cycles.get(), cyclesBeforeClose);
    try {
        out->closePort();
    } catch (const RtMidiError&) {
    }
}

}  // namespace tv
