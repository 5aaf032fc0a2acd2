#include "app/Application.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"

#include <algorithm>

namespace tv {

MidiDeviceAccess MidiDeviceAccess::system() { return {&listMidiOutputs, &openMidiDevice}; }

Application::Application(MessageService& messages, SettingsStore& settings,
                         MidiDeviceAccess devices)
    : messages_(messages), settings_(settings), devices_(std::move(devices))
{
    readBendRange();
}

Application::~Application() { closeMidi(); }

void Application::readBendRange()
{
    if (const auto word = settings_.value(tuningMethodSetting)) {
        if (const auto kind = tuningKindForWord(word->toStdString()))
            pitches_.setKind(*kind);
    }
    if (const auto range = settings_.value(bendRangeSetting)) {
        bool ok = false;
        const int value = range->toInt(&ok);
        if (ok && value >= minBendRange && value <= rangeLimit())
            bendRange_ = value;
    }
    sendBendRange_ = settings_.value(sendBendRangeSetting) == QStringLiteral("1");
}

int Application::rangeLimit() const
{
    return pitches_.kind() == TuningKind::Mpe ? maxMpeBendRange : maxBendRange;
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
    players_.stopPlaying();
    output_.closeDevice();
    chord_.clear();
    output_.reopen(std::move(service));
    output_.setBendRange(bendRange_, sendBendRange_);
    pitches_.method().forget();
    pitches_.method().announce();
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
    players_.stopPlaying();
    output_.closeDevice();
    chord_.clear();
    output_.reopen(nullptr);
    outputName_.clear();
}

void Application::setPlayerThreadStartHook(std::function<void()> hook)
{
    players_.setThreadStartHook(std::move(hook));
}

void Application::setTuningMethod(TuningKind kind)
{
    // What sounds ends under the method that started it.
    players_.stopPlaying();
    chord_.release();
    chord_.clear();
    pitches_.setKind(kind);
    settings_.setValue(
        tuningMethodSetting,
        QString::fromLatin1(tuningWord(kind).data(), static_cast<int>(tuningWord(kind).size())));
    if (bendRange_ > rangeLimit())
        setBendRange(rangeLimit(), sendBendRange_);
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
    bendRange_ = std::clamp(semitones, minBendRange, rangeLimit());
    sendBendRange_ = sendAlways;
    output_.setBendRange(bendRange_, sendBendRange_);
    // MPE tells its zone the member range itself.
    if (pitches_.kind() == TuningKind::Mpe)
        pitches_.method().announce();
    settings_.setValue(bendRangeSetting, QString::number(bendRange_));
    settings_.setValue(sendBendRangeSetting,
                       sendBendRange_ ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace tv
