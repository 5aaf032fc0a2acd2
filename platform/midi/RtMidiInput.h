#pragma once

#include "core/midi/MidiInputDecoder.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RtMidiIn;

namespace tv {

// One MIDI input port the system offers.
struct MidiInputInfo {
    enum class Kind { Alsa, Jack };
    Kind kind = Kind::Alsa;
    std::string name;        // as the user sees it
    unsigned portIndex = 0;  // the backend's own port number
};

// Every MIDI input port of the system (ALSA; JACK where ALSA cannot be opened or offers no real
// port), pass-through ports such as "Midi Through" left out.
std::vector<MidiInputInfo> listMidiInputs();

// The first input whose name contains `choice` (the first input for an empty choice); null when
// none does.
const MidiInputInfo* chooseMidiInput(const std::vector<MidiInputInfo>& inputs,
                                     const std::string& choice);

// Receives what an input delivers. Both calls come on the backend's own thread: an
// implementation passes the messages on to a thread-safe consumer or queues them and notifies
// its owner, and does no more.
class MidiInputHandler {
public:
    virtual ~MidiInputHandler() = default;
    // Channel messages (status 0x80 to 0xEF) as packMessage packs them, in arrival order.
    virtual void midiReceived(const std::uint32_t* messages, std::size_t count) = 0;
    // The port has gone; called once per input, with the text to show the user.
    virtual void inputLost(const std::string& message) = 0;
};

// A MIDI input port reached through RtMidi. The bytes it delivers go through a
// MidiInputDecoder, so running status and messages split between reads are followed whatever
// the backend hands over.
class RtMidiInput {
public:
    // Opens the port (found again by name) and starts delivering to `handler`, which must
    // outlive the input; null and a description in `error` when that fails.
    static std::unique_ptr<RtMidiInput> open(const MidiInputInfo& port, MidiInputHandler& handler,
                                             std::string& error);
    ~RtMidiInput();
    RtMidiInput(const RtMidiInput&) = delete;
    RtMidiInput& operator=(const RtMidiInput&) = delete;

    const std::string& name() const { return name_; }

    // Lists the backend's ports again; when this input's port is no longer among them the
    // handler hears inputLost (once) and nothing more is delivered. Gives whether the port is
    // still there. Call it now and then from the owner's thread.
    bool checkPresent();
    // Whether the port was found gone (here or by the backend's error report).
    bool lost() const { return lost_.load(); }
    // Stops delivering; the handler is not called after close returns.
    void close();

    // The text the user is shown when the input `name` vanishes.
    static std::string lostMessage(const std::string& name);

private:
    friend struct RtMidiInputCallbacks;
    RtMidiInput(std::unique_ptr<RtMidiIn> in, std::unique_ptr<RtMidiIn> lister, MidiInputInfo port,
                MidiInputHandler& handler);
    void deliver(const std::vector<unsigned char>& bytes);
    void markLost();

    std::unique_ptr<RtMidiIn> in_;
    std::unique_ptr<RtMidiIn> lister_;  // lists the backend's ports for checkPresent
    const std::string name_;
    MidiInputHandler& handler_;
    std::mutex deliverMutex_;   // held while delivering, and by close
    bool closed_ = false;       // guarded by deliverMutex_
    MidiInputDecoder decoder_;  // backend thread only
    std::vector<std::uint32_t> messages_;
    std::atomic<bool> lost_{false};
};

}  // namespace tv
