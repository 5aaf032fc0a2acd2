#include "platform/midi/MidiDevices.h"

#include "platform/midi/BackendPorts.h"
#include "platform/midi/BuiltinSynthService.h"
#include "platform/midi/MidiLogService.h"
#include "platform/midi/RtMidiService.h"

#include <rtmidi/RtMidi.h>

#include <cstdlib>
#include <iostream>

namespace tv {
namespace {

std::string noDeviceReason(const std::string& alsa, const std::string& jack)
{
    std::string text = "No MIDI output device is available.";
    if (!alsa.empty())
        text += "\nALSA: " + alsa;
    if (!jack.empty())
        text += "\nJACK: " + jack;
    return text;
}

// Every system port, and why there is none when the list is empty.
std::vector<MidiOutputInfo> systemOutputs(std::string& reason)
{
    std::vector<MidiOutputInfo> ports;
    std::string alsaReason, jackReason;
    const bool alsaOpened = listBackendPorts<RtMidiOut>(MidiOutputInfo::Kind::Alsa,
                                                        RtMidi::LINUX_ALSA, ports, alsaReason);
    if (!alsaOpened || ports.empty())
        listBackendPorts<RtMidiOut>(MidiOutputInfo::Kind::Jack, RtMidi::UNIX_JACK, ports,
                                    jackReason);
    if (ports.empty())
        reason = noDeviceReason(alsaReason, jackReason);
    return ports;
}

// Opens one entry of the device list; `reason` says why the system offered no port.
std::shared_ptr<MidiService> openListed(const MidiOutputInfo& output, const std::string& reason,
                                        std::string& error)
{
    if (output.kind == MidiOutputInfo::Kind::Builtin) {
        std::string audioError;
        auto synthesizer = BuiltinSynthService::open(audioError);
        if (!synthesizer) {
            // Say why there is no port as well, when the synthesizer stood in for one.
            error = (reason.empty() ? "" : reason + "\n") +
                    "The built-in synthesizer cannot play: " + audioError;
        }
        return synthesizer;
    }
    return RtMidiService::open(output, error);
}

std::shared_ptr<MidiService> openDevice(const std::string& preferred, std::string& error,
                                        std::string& openedName)
{
    const char* wanted = std::getenv("TONALVANE_MIDI_OUT");
    const std::string choice = wanted ? wanted : "";
    // The user asked for silence: no device and nothing to report.
    if (choice == "none")
        return nullptr;
    std::string reason;
    const auto outputs = withBuiltinSynthesizer(systemOutputs(reason));
    const MidiOutputInfo* port = choice.empty() ? preferredMidiOutput(outputs, preferred)
                                                : chooseMidiOutput(outputs, choice);
    if (!port) {
        error = "No MIDI output matches TONALVANE_MIDI_OUT=\"" + choice + "\".";
        return nullptr;
    }
    auto device = openListed(*port, reason, error);
    if (device)
        openedName = port->name;
    return device;
}

// Every message also goes to the file TONALVANE_MIDI_LOG names, when it names one.
std::shared_ptr<MidiService> withLog(std::shared_ptr<MidiService> device)
{
    const char* logPath = std::getenv("TONALVANE_MIDI_LOG");
    if (logPath && *logPath) {
        if (auto log = MidiLogService::open(logPath, device))
            return log;
        std::cerr << "tonalvane: cannot open the MIDI log " << logPath << '\n';
    }
    return device;
}

}  // namespace

std::vector<MidiOutputInfo> listMidiOutputs()
{
    std::string reason;
    return withBuiltinSynthesizer(systemOutputs(reason));
}

std::vector<MidiOutputInfo> withBuiltinSynthesizer(std::vector<MidiOutputInfo> ports)
{
    ports.push_back({MidiOutputInfo::Kind::Builtin, BuiltinSynthService::deviceName, 0});
    return ports;
}

const MidiOutputInfo* chooseMidiOutput(const std::vector<MidiOutputInfo>& outputs,
                                       const std::string& choice)
{
    for (const auto& output : outputs) {
        if (choice.empty() || output.name.find(choice) != std::string::npos ||
            (choice == "builtin" && output.kind == MidiOutputInfo::Kind::Builtin))
            return &output;
    }
    return nullptr;
}

const MidiOutputInfo* preferredMidiOutput(const std::vector<MidiOutputInfo>& outputs,
                                          const std::string& preferred)
{
    for (const auto& output : outputs) {
        if (!preferred.empty() && output.name == preferred)
            return &output;
    }
    return outputs.empty() ? nullptr : &outputs.front();
}

std::shared_ptr<MidiService> openMidiOutput(std::string& error, const std::string& preferred,
                                            std::string* openedName)
{
    error.clear();
    std::string name;
    std::shared_ptr<MidiService> device = openDevice(preferred, error, name);
    if (openedName)
        *openedName = name;
    return withLog(std::move(device));
}

std::shared_ptr<MidiService> openMidiDevice(const MidiOutputInfo& output, std::string& error)
{
    error.clear();
    auto device = openListed(output, std::string(), error);
    return device ? withLog(std::move(device)) : nullptr;
}

}  // namespace tv
