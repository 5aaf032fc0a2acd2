#pragma once

#include "core/midi/MidiOutput.h"
#include "core/script/ScriptPlayers.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"
#include "ui/common/AppServices.h"
#include "ui/common/ElementListener.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace tv::test {

// The services a window is given, for tests: every MIDI message is captured, every message
// and question recorded (and answered from a list), and settings live in a temporary file.
class TestAppServices : public AppServices {
public:
    MidiOutput& midiOutput() override { return output; }
    PitchOutput& pitchOutput() override { return pitches; }
    PitchChord& chord() override { return latticeChord; }
    ScriptPlayers& players() override { return scriptPlayers; }
    std::vector<std::string> midiOutputNames() override { return outputNames; }
    std::string midiOutputName() override { return outputName; }
    bool switchMidiOutput(const std::string& name) override
    {
        outputName = name;
        return true;
    }
    void setBendRange(int semitones, bool sendAlways) override
    {
        output.setBendRange(semitones, sendAlways);
    }
    void setTuningMethod(TuningKind kind) override { pitches.setKind(kind); }
    std::vector<std::string> midiInputNames() override { return {}; }
    std::string midiInputName() override { return {}; }
    bool switchMidiInput(const std::string&) override { return false; }
    void playFromKeyboard(KeyboardTarget& target) override { keyboardTarget = &target; }
    void keyboardTargetGone(KeyboardTarget& target) override
    {
        if (keyboardTarget == &target)
            keyboardTarget = nullptr;
    }
    MessageService& messages() override { return messageService; }
    SettingsStore& settings() override { return *settingsStore; }
    ElementListeners& listeners() override { return listenerList; }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settingsStore = SettingsStore::fileStore(dir.filePath("s.ini"));
    RecordingMessageService messageService;
    std::shared_ptr<CaptureMidiService> capture = std::make_shared<CaptureMidiService>();
    MidiOutput output{capture};
    PitchOutput pitches{output};
    PitchChord latticeChord{pitches};
    ScriptPlayers scriptPlayers{pitches};
    ElementListeners listenerList;
    std::vector<std::string> outputNames;
    std::string outputName;
    KeyboardTarget* keyboardTarget = nullptr;  // the window activated last
};

}  // namespace tv::test
