#pragma once

#include "app/ElementListener.h"
#include "midi/MidiOutput.h"

#include <memory>
#include <vector>

namespace tv {

class MessageService;
class SettingsStore;

// The services every window shares: the one MIDI output, the list of listeners that hear
// clicked pitches, the message service and the settings store.
class Application {
public:
    Application(MessageService& messages, SettingsStore& settings);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Makes the MIDI output over `service`; when `error` is not empty (no device could be
    // opened) it is shown once, and everything else runs on silently.
    void openMidi(std::shared_ptr<MidiService> service, const std::string& error);
    // Closes the device and releases the output; safe to call more than once.
    void closeMidi();
    // The shared output; always present between openMidi and closeMidi.
    MidiOutput& midiOutput();

    // The most recently registered listener hears first.
    void registerListener(ElementListener* listener);
    void unregisterListener(ElementListener* listener);
    void broadcastRatio(std::uint32_t numerator, std::uint32_t denominator);
    void broadcastCents(double cents);
    const std::vector<ElementListener*>& listeners() const { return listeners_; }

    MessageService& messages() { return messages_; }
    SettingsStore& settings() { return settings_; }

private:
    MessageService& messages_;
    SettingsStore& settings_;
    std::unique_ptr<MidiOutput> midiOutput_;
    std::vector<ElementListener*> listeners_;
};

}  // namespace tv
