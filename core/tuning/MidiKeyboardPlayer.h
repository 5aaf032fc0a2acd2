#pragma once

#include "core/tuning/KeyScale.h"
#include "core/tuning/KeyboardMapping.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace tv {

// Where a keyboard note sounds once the tuning method has placed it. `tuningBend` is the 14-bit
// bend the method set on the note's channel to tune it, or nothing when the method tunes
// without bending (the keyboard's bend then passes on unchanged).
struct KeyboardVoice {
    std::uint8_t channel = 0;
    std::uint8_t key = 0;
    std::optional<int> tuningBend;
};

// The tuning method in use, as the keyboard sees it: notes are placed in numbered slots
// (0 .. polyphony - 1), at most one note a slot.
class KeyboardVoices {
public:
    virtual ~KeyboardVoices() = default;
    virtual int polyphony() const = 0;
    // Tunes and starts `pitch` in `slot`; nothing when it cannot sound.
    virtual std::optional<KeyboardVoice> start(const KeyPitch& pitch, std::uint8_t velocity,
                                               int slot) = 0;
    virtual void end(const KeyboardVoice& voice) = 0;
    // A finished channel message for the output.
    virtual void send(std::uint32_t packed) = 0;
};

// Plays what a MIDI keyboard sends: each key sounds the pitch the keyboard mapping gives it in
// a key scale, through the tuning method, with the keyboard's velocity. The sustain pedal
// (controller 64) holds released notes until it is let up; other controllers and channel
// pressure go to every channel a note sounds on; the keyboard's pitch bend bends every
// sounding note on top of its tuning. When every slot is taken, a new note ends the oldest
// first. Messages that carry no note are passed over. Safe to call from several threads.
class MidiKeyboardPlayer {
public:
    MidiKeyboardPlayer(KeyboardVoices& voices, KeyScale scale,
                       KeyboardMapping mapping = KeyboardMapping{});
    ~MidiKeyboardPlayer();
    MidiKeyboardPlayer(const MidiKeyboardPlayer&) = delete;
    MidiKeyboardPlayer& operator=(const MidiKeyboardPlayer&) = delete;

    // One decoded channel message from the keyboard.
    void receive(std::uint32_t packed);
    // Notes already sounding keep their pitch; the next ones take the new scale and mapping.
    void setScale(KeyScale scale, KeyboardMapping mapping);
    // Ends every note, held ones too, and lets the pedal up.
    void endAll();
    // The keyboard keys whose notes sound (pressed or held by the pedal), oldest first.
    std::vector<int> soundingKeys() const;

private:
    struct Note {
        int inputKey = 0;
        int slot = 0;
        KeyboardVoice voice;
        bool held = false;  // released while the pedal was down
    };

    void noteOn(int key, std::uint8_t velocity);
    void noteOff(int key);
    void pedal(bool down);
    void bend(int value);
    void toChannelsInUse(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void sendBend(const KeyboardVoice& voice);
    void endNote(std::size_t index);
    int freeSlot() const;

    mutable std::mutex mutex_;
    KeyboardVoices& voices_;
    KeyScale scale_;
    KeyboardMapping mapping_;
    std::vector<Note> notes_;  // oldest first
    bool pedalDown_ = false;
    int keyboardBend_ = 8192;
};

}  // namespace tv
