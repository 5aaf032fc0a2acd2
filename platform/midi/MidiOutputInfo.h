#pragma once

#include <string>

namespace tv {

// One MIDI output the system offers, in the order the program numbers them (device 0 first).
struct MidiOutputInfo {
    enum class Kind { Alsa, Jack, Builtin };
    Kind kind = Kind::Alsa;
    std::string name;        // as the user sees it
    unsigned portIndex = 0;  // the backend's own port number (Alsa, Jack)
};

}  // namespace tv
