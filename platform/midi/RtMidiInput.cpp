#include "platform/midi/RtMidiInput.h"

#include "platform/midi/BackendPorts.h"
#include "platform/midi/BackendQuiet.h"

#include <rtmidi/RtMidi.h>

namespace tv {
namespace {

RtMidi::Api backendApi(MidiInputInfo::Kind kind)
{
    return kind == MidiInputInfo::Kind::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

bool hasPort(RtMidiIn& in, const std::string& name)
{
    const unsigned count = in.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (in.getPortName(i) == name)
            return true;
    }
    return false;
}

}  // namespace

struct RtMidiInputCallbacks {
    static void received(double, std::vector<unsigned char>* bytes, void* self)
    {
        if (bytes)
            static_cast<RtMidiInput*>(self)->deliver(*bytes);
    }
    static void failed(RtMidiError::Type type, const std::string&, void* self)
    {
        // Warnings (a full buffer, an unknown event) leave the port usable.
        if (type == RtMidiError::DRIVER_ERROR || type == RtMidiError::SYSTEM_ERROR)
            static_cast<RtMidiInput*>(self)->markLost();
    }
};

std::vector<MidiInputInfo> listMidiInputs()
{
    std::vector<MidiInputInfo> ports;
    std::string reason;
    const bool alsaOpened =
        listBackendPorts<RtMidiIn>(MidiInputInfo::Kind::Alsa, RtMidi::LINUX_ALSA, ports, reason);
    if (!alsaOpened || ports.empty())
        listBackendPorts<RtMidiIn>(MidiInputInfo::Kind::Jack, RtMidi::UNIX_JACK, ports, reason);
    return ports;
}

const MidiInputInfo* chooseMidiInput(const std::vector<MidiInputInfo>& inputs,
                                     const std::string& choice)
{
    for (const auto& input : inputs) {
        if (input.name.find(choice) != std::string::npos)
            return &input;
    }
    return nullptr;
}

std::string RtMidiInput::lostMessage(const std::string& name)
{
    return "The MIDI input \"" + name + "\" is no longer available.";
}

RtMidiInput::RtMidiInput(std::unique_ptr<RtMidiIn> in, std::unique_ptr<RtMidiIn> lister,
                         MidiInputInfo port, MidiInputHandler& handler)
    : in_(std::move(in)), lister_(std::move(lister)), name_(std::move(port.name)), handler_(handler)
{
    messages_.reserve(64);
}

RtMidiInput::~RtMidiInput() { close(); }

std::unique_ptr<RtMidiInput> RtMidiInput::open(const MidiInputInfo& port, MidiInputHandler& handler,
                                               std::string& error)
{
    BackendQuiet quiet;
    try {
        auto in = std::make_unique<RtMidiIn>(backendApi(port.kind), "Tonalvane");
        auto lister = std::make_unique<RtMidiIn>(backendApi(port.kind), "Tonalvane");
        // Port numbers can shift between listing and opening; find the port by name again.
        const unsigned count = in->getPortCount();
        unsigned index = count;
        for (unsigned i = 0; i < count; ++i) {
            if (in->getPortName(i) == port.name) {
                index = i;
                break;
            }
        }
        if (index >= count) {
            error = lostMessage(port.name);
            return nullptr;
        }
        std::unique_ptr<RtMidiInput> input(
            new RtMidiInput(std::move(in), std::move(lister), port, handler));
        // The decoder passes over what carries no note; the backend need not deliver it.
        input->in_->ignoreTypes(true, true, true);
        input->in_->setErrorCallback(&RtMidiInputCallbacks::failed, input.get());
        input->in_->setCallback(&RtMidiInputCallbacks::received, input.get());
        input->in_->openPort(index, "Tonalvane input");
        if (!input->in_->isPortOpen()) {
            error = quiet.text().empty() ? "Unable to open the MIDI input \"" + port.name + "\"."
                                         : quiet.text();
            return nullptr;
        }
        return input;
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return nullptr;
    }
}

void RtMidiInput::deliver(const std::vector<unsigned char>& bytes)
{
    std::lock_guard lock(deliverMutex_);
    if (closed_ || lost_.load())
        return;
    messages_.clear();
    decoder_.decode(bytes.data(), bytes.size(), messages_);
    if (!messages_.empty())
        handler_.midiReceived(messages_.data(), messages_.size());
}

void RtMidiInput::markLost()
{
    if (lost_.exchange(true))
        return;
    std::lock_guard lock(deliverMutex_);
    if (!closed_)
        handler_.inputLost(lostMessage(name_));
}

bool RtMidiInput::checkPresent()
{
    if (lost_.load())
        return false;
    bool present = true;
    {
        BackendQuiet quiet;
        try {
            present = hasPort(*lister_, name_);
        } catch (const RtMidiError&) {
            present = false;
        }
    }
    if (!present)
        markLost();
    return present;
}

void RtMidiInput::close()
{
    {
        std::lock_guard lock(deliverMutex_);
        if (closed_)
            return;
        closed_ = true;
    }
    BackendQuiet quiet;
    try {
        in_->cancelCallback();
        in_->closePort();
    } catch (const RtMidiError&) {
        // The port may already be gone; nothing more will be delivered either way.
    }
}

}  // namespace tv
