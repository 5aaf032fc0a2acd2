#pragma once

#include "core/midi/MidiService.h"
#include "platform/midi/MidiDevices.h"

#include <memory>
#include <mutex>
#include <string>

class RtMidiOut;

namespace tv {

// A MIDI output port reached through RtMidi (ALSA or JACK). RtMidi promises no thread
// safety, so one mutex serialises the user-interface thread and every player thread.
class RtMidiService : public MidiService {
public:
    // Opens the port; null and a description in `error` when that fails.
    static std::shared_ptr<RtMidiService> open(const MidiOutputInfo& port, std::string& error);
    ~RtMidiService() override;

    void send(std::uint32_t packed) override;
    void close() override;

private:
    explicit RtMidiService(std::unique_ptr<RtMidiOut> out);

    std::mutex mutex_;
    std::unique_ptr<RtMidiOut> out_;
};

}  // namespace tv
