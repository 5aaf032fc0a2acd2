#pragma once

#include "core/midi/MidiOutput.h"
#include "core/script/ScriptPlayers.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
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
inline const QString tuningMethodSetting = QStringLiteral("TuningMethod");

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

    MidiOutput& midiOutput() override { return output_; }
    PitchOutput& pitchOutput() override { return pitches_; }
    PitchChord& chord() override { return chord_; }
    ScriptPlayers& players() override { return players_; }
    std::vector<std::string> midiOutputNames() override;
    std::string midiOutputName() override { return outputName_; }
    bool switchMidiOutput(const std::string& name) override;
    void setBendRange(int semitones, bool sendAlways) override;
    void setTuningMethod(TuningKind kind) override;
    MessageService& messages() override { return messages_; }
    SettingsStore& settings() override { return settings_; }
    ElementListeners& listeners() override { return listeners_; }

private:
    // Ends the players and the notes of the device in use, closes it and goes on over
    // `service`; the output, chord and players stay the same objects.
    void replaceSound(std::shared_ptr<MidiService> service);
    void readBendRange();
    // The greatest bend range of the method in use.
    int rangeLimit() const;

    MessageService& messages_;
    SettingsStore& settings_;
    MidiDeviceAccess devices_;
    ElementListeners listeners_;
    // One output for the whole run, and what sends through it; a new device goes in under them.
    MidiOutput output_{nullptr};
    PitchOutput pitches_{output_};
    PitchChord chord_{pitches_};
    ScriptPlayers players_{pitches_};
    std::string outputName_;
    int bendRange_ = defaultBendRange;
    bool sendBendRange_ = false;
};

}  // namespace tv
