#pragma once

#include "core/midi/MidiService.h"
#include "platform/midi/MidiOutputInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace tv {

// Every MIDI output port of the system (ALSA; JACK where ALSA cannot be opened or offers no
// real port), pass-through ports such as "Midi Through" left out, then the built-in
// synthesizer as the last entry.
std::vector<MidiOutputInfo> listMidiOutputs();

// The device list made from the system's ports, in their order: the ports, then the built-in
// synthesizer, which is therefore device 0 exactly when the system offers no port.
std::vector<MidiOutputInfo> withBuiltinSynthesizer(std::vector<MidiOutputInfo> ports);

// The entry of a device list that a TONALVANE_MIDI_OUT value chooses: device 0 for an empty
// value, the built-in synthesizer for "builtin", else the first entry whose name contains the
// text. Null when there is none.
const MidiOutputInfo* chooseMidiOutput(const std::vector<MidiOutputInfo>& outputs,
                                       const std::string& choice);

// The entry named exactly `preferred` (the output chosen in an earlier session), else device 0.
// Null only for an empty list.
const MidiOutputInfo* preferredMidiOutput(const std::vector<MidiOutputInfo>& outputs,
                                          const std::string& preferred);

// Opens the output the user chose: what the TONALVANE_MIDI_OUT environment variable names (the
// first output whose name contains its text; "none" for no device), else the output named
// `preferred` when the system offers it, else device 0. Gives null and a description in
// `error` when nothing could be opened; the name of the opened output goes to `openedName`
// (empty when none). When TONALVANE_MIDI_LOG names a file, every message handed to the
// returned service (or, with no device, to the log alone) is appended to it; the service is
// then never null.
std::shared_ptr<MidiService> openMidiOutput(std::string& error, const std::string& preferred = {},
                                            std::string* openedName = nullptr);

// Opens one entry of listMidiOutputs(), logged as openMidiOutput logs; null and a description
// in `error` when it cannot be opened.
std::shared_ptr<MidiService> openMidiDevice(const MidiOutputInfo& output, std::string& error);

}  // namespace tv
