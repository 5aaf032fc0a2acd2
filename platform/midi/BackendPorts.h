#pragma once

#include "platform/midi/BackendQuiet.h"

#include <rtmidi/RtMidi.h>

#include <string>
#include <vector>

namespace tv {

// Whether a port only passes on what it receives ("Midi Through"): never offered as a device.
inline bool isPassThroughPort(const std::string& name)
{
    return name.find("Midi Through") != std::string::npos;
}

// The ports one backend offers to a client of type `Client` (RtMidiIn or RtMidiOut), pass-through
// ports left out, each as an `Info` {kind, name, index}; false (and the reason) when the backend
// cannot be opened. RtMidi reports a missing JACK server only as a warning, after which it lists
// no port: that counts as a failure too.
template <class Client, class Info>
bool listBackendPorts(decltype(Info::kind) kind, RtMidi::Api api, std::vector<Info>& ports,
                      std::string& reason)
{
    BackendQuiet quiet;
    try {
        Client client(api, "Tonalvane");
        const unsigned count = client.getPortCount();
        for (unsigned i = 0; i < count; ++i) {
            std::string name = client.getPortName(i);
            if (!isPassThroughPort(name))
                ports.push_back({kind, std::move(name), i});
        }
        if (count == 0 && !quiet.text().empty()) {
            reason = quiet.text();
            return false;
        }
        return true;
    } catch (const RtMidiError& e) {
        reason = e.getMessage();
        return false;
    }
}

}  // namespace tv
