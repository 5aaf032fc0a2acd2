#pragma once

#include "core/midi/ChordQueue.h"
#include "core/midi/MidiOutput.h"
#include "core/script/ScriptPlayers.h"
#include "ui/common/AppServices.h"
#include "ui/common/ElementListener.h"

#include <memory>
#include <string>

namespace tv {

class MidiService;

// The services every window shares: the one MIDI output with the lattice windows' chord and
// the script players, the listeners that hear clicked pitches, the message service and the
// settings store.
class Application : public AppServices {
public:
    Application(MessageService& messages, SettingsStore& settings);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Makes the MIDI output over `service`; when `error` is not empty (no device could be
    // opened) it is shown once, and everything else runs on silently.
    void openMidi(std::shared_ptr<MidiService> service, const std::string& error);
    // Ends every script player, then closes the device; a silent output stays behind so late
    // callers never find none. Safe to call more than once.
    void closeMidi();

    MidiOutput& midiOutput() override { return sound_->output; }
    ChordQueue& chordQueue() override { return sound_->chord; }
    ScriptPlayers& players() override { return sound_->players; }
    MessageService& messages() override { return messages_; }
    SettingsStore& settings() override { return settings_; }
    ElementListeners& listeners() override { return listeners_; }

private:
    // The output and what sends through it, made and replaced together.
    struct Sound {
        explicit Sound(std::shared_ptr<MidiService> service)
            : output(std::move(service)), chord(output), players(output)
        {
        }
        MidiOutput output;
        ChordQueue chord;
        ScriptPlayers players;
    };

    MessageService& messages_;
    SettingsStore& settings_;
    ElementListeners listeners_;
    std::unique_ptr<Sound> sound_;
};

}  // namespace tv
