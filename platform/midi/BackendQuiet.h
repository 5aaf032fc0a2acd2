#pragma once

#include <sstream>
#include <streambuf>
#include <string>

namespace tv {

// While alive, keeps ALSA, JACK and RtMidi from printing their diagnostics on stderr (a
// missing sequencer or JACK server is normal on a desktop) and collects what RtMidi says, so
// that the reason can be shown to the user in one message instead.
class BackendQuiet {
public:
    BackendQuiet();
    ~BackendQuiet();
    BackendQuiet(const BackendQuiet&) = delete;
    BackendQuiet& operator=(const BackendQuiet&) = delete;

    // RtMidi's own words, trimmed, lines joined with "; ".
    std::string text() const;

private:
    std::ostringstream captured_;
    std::streambuf* previous_;
};

}  // namespace tv
