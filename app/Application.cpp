#include "app/Application.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"

#include <algorithm>

namespace tv {

MidiDeviceAccess MidiDeviceAccess::system() { return {&listMidiOutputs, &openMidiDevice}; }

Application::Application(MessageService& messages, SettingsStore& settings,
                         MidiDeviceAccess devices)
    : messages_(messages), settings_(settings), devices_(std::move(devices)),
      sound_(std::make_unique<Sound>(nullptr))
{
    readBendRange();
}

Application::~Application() { closeMidi(); }

void Application::readBendRange()
{
    if (const auto range = settings_.value(bendRangeSetting)) {
        bool ok = false;
        const int value = range->toInt(&ok);
        if (ok && value >= minBendRange && value <= maxBendRange)
            bendRange_ = value;
    }
    sendBendRange_ = settings_.value(sendBendRangeSetting) == QStringLiteral("1");
}

void Application::startMidi()
{
    std::string error;
    std::string name;
    const std::string preferred =
        settings_.value(midiOutputSetting).value_or(QString()).toStdString();
    auto service = openMidiOutput(error, preferred, &name);
    openMidi(std::move(service), error, name);
}

void Application::replaceSound(std::shared_ptr<MidiService> service)
{
    // Players end before the device closes, so no message ever reaches a closed device; the
    // output then ends what else sounds (a lattice chord) on the device that plays it.
    sound_->players.stopAll();
    sound_->output.closeDevice();
    sound_ = std::make_unique<Sound>(std::move(service));
    if (threadStartHook_)
        sound_->players.setThreadStartHook(threadStartHook_);
    sound_->output.setBendRange(bendRange_, sendBendRange_);
}

void Application::openMidi(std::shared_ptr<MidiService> service, const std::string& error,
                           const std::string& name)
{
    const bool opened = service != nullptr;
    replaceSound(std::move(service));
    outputName_ = opened ? name : std::string();
    if (!error.empty())
        messages_.showMessage(QString::fromStdString(error));
}

void Application::closeMidi()
{
    sound_->players.stopAll();
    sound_->output.closeDevice();
    sound_ = std::make_unique<Sound>(nullptr);
    if (threadStartHook_)
        sound_->players.setThreadStartHook(threadStartHook_);
    outputName_.clear();
}

void Application::setPlayerThreadStartHook(std::function<void()> hook)
{
    threadStartHook_ = std::move(hook);
    sound_->players.setThreadStartHook(threadStartHook_);
}

std::vector<std::string> Application::midiOutputNames()
{
    std::vector<std::string> names;
    for (const auto& output : devices_.list())
        names.push_back(output.name);
    return names;
}

bool Application::switchMidiOutput(const std::string& name)
{
    const auto outputs = devices_.list();
    const auto found = std::find_if(outputs.begin(), outputs.end(),
                                    [&](const MidiOutputInfo& o) { return o.name == name; });
    if (found == outputs.end()) {
        messages_.showMessage(QStringLiteral("The MIDI output \"%1\" is not there any more.")
                                  .arg(QString::fromStdString(name)));
        return false;
    }
    // The new device opens before the old one closes, so a failure leaves the old one playing.
    std::string error;
    auto service = devices_.open(*found, error);
    if (!service) {
        messages_.showMessage(QString::fromStdString(
            error.empty() ? "The MIDI output \"" + name + "\" cannot be opened." : error));
        return false;
    }
    replaceSound(std::move(service));
    outputName_ = name;
    settings_.setValue(midiOutputSetting, QString::fromStdString(name));
    return true;
}

void Application::setBendRange(int semitones, bool sendAlways)
{
    bendRange_ = std::clamp(semitones, minBendRange, maxBendRange);
    sendBendRange_ = sendAlways;
    sound_->output.setBendRange(bendRange_, sendBendRange_);
    settings_.setValue(bendRangeSetting, QString::number(bendRange_));
    settings_.setValue(sendBendRangeSetting,
                       sendBendRange_ ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace tv
