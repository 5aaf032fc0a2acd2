#include "platform/midi/RtMidiService.h"

#include "core/midi/MidiMessage.h"
#include "platform/midi/BackendQuiet.h"

#include <rtmidi/RtMidi.h>

namespace tv {

RtMidiService::RtMidiService(std::unique_ptr<RtMidiOut> out) : out_(std::move(out)) {}

RtMidiService::~RtMidiService() { close(); }

std::shared_ptr<RtMidiService> RtMidiService::open(const MidiOutputInfo& port, std::string& error)
{
    const auto api =
        port.kind == MidiOutputInfo::Kind::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    BackendQuiet quiet;
    try {
        auto out = std::make_unique<RtMidiOut>(api, "Tonalvane");
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
        return std::shared_ptr<RtMidiService>(new RtMidiService(std::move(out)));
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

void RtMidiService::close()
{
    std::lock_guard lock(mutex_);
    if (!out_)
        return;
    try {
        out_->closePort();
    } catch (const RtMidiError&) {
    }
    out_.reset();
}

}  // namespace tv
