#pragma once

#include "core/midi/ChordQueue.h"
#include "core/midi/MidiOutput.h"
#include "core/script/ScriptPlayers.h"
#include "platform/midi/MidiDevices.h"
#include "ui/common/AppServices.h"
#include "ui/common/ElementListener.h"

#include <functional>
#include <memory>
#include <string>

namespace tv {

class MidiService;

// How the application finds and opens MIDI outputs: the system's own by default, a fake list
// in tests.
struct MidiDeviceAccess {
    std::function<std::vector<MidiOutputInfo>()> list;
    std::function<std::shared_ptr<MidiService>(const MidiOutputInfo&, std::string& error)> open;

    static MidiDeviceAccess system();
};

// Names of the settings-store values that keep the sound choices between sessions.
inline const QString midiOutputSetting = QStringLiteral("MidiOutput");
inline const QString bendRangeSetting = QStringLiteral("BendRange");
inline const QString sendBendRangeSetting = QStringLiteral("SendBendRange");

// The services every window shares: the one MIDI output with the lattice windows' chord and
// the script players, the listeners that hear clicked pitches, the message service and the
// settings store.
class Application : public AppServices {
public:
    Application(MessageService& messages, SettingsStore& settings,
                MidiDeviceAccess devices = MidiDeviceAccess::system());
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the output of the last session (TONALVANE_MIDI_OUT wins over it), with the bend
    // range kept in the settings store.
    void startMidi();
    // Makes the MIDI output over `service`, named `name` in the output list; when `error` is
    // not empty (no device could be opened) it is shown once, and everything else runs on
    // silently. The bend range goes to the new device when it is to be sent.
    void openMidi(std::shared_ptr<MidiService> service, const std::string& error,
                  const std::string& name = {});
    // Ends every script player, then closes the device; a silent output stays behind so late
    // callers never find none. Safe to call more than once.
    void closeMidi();
    // Runs on every player thread as it starts, on this output and every later one.
    void setPlayerThreadStartHook(std::function<void()> hook);

    MidiOutput& midiOutput() override { return sound_->output; }
    ChordQueue& chordQueue() override { return sound_->chord; }
    ScriptPlayers& players() override { return sound_->players; }
    std::vector<std::string> midiOutputNames() override;
    std::string midiOutputName() override { return outputName_; }
    bool switchMidiOutput(const std::string& name) override;
    void setBendRange(int semitones, bool sendAlways) override;
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

    // Ends the players and the notes of the output in use, closes it and puts `service` in
    // its place.
    void replaceSound(std::shared_ptr<MidiService> service);
    void readBendRange();

    MessageService& messages_;
    SettingsStore& settings_;
    MidiDeviceAccess devices_;
    ElementListeners listeners_;
    std::unique_ptr<Sound> sound_;
    std::string outputName_;
    int bendRange_ = defaultBendRange;
    bool sendBendRange_ = false;
    std::function<void()> threadStartHook_;
};

}  // namespace tv
