#include "app/Application.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"

#include "core/tuning/KeyboardMapping.h"

#include <algorithm>

namespace tv {
namespace {

class SystemInputPort : public MidiInputPort {
public:
    explicit SystemInputPort(std::unique_ptr<RtMidiInput> input) : input_(std::move(input)) {}
    bool checkPresent() override { return input_->checkPresent(); }

private:
    std::unique_ptr<RtMidiInput> input_;
};

}  // namespace

MidiDeviceAccess MidiDeviceAccess::system() { return {&listMidiOutputs, &openMidiDevice}; }

MidiInputAccess MidiInputAccess::system()
{
    return {[] {
                std::vector<std::string> names;
                for (const auto& input : listMidiInputs())
                    names.push_back(input.name);
                return names;
            },
            [](const std::string& name, MidiInputHandler& handler,
               std::string& error) -> std::unique_ptr<MidiInputPort> {
                const auto inputs = listMidiInputs();
                const auto found =
                    std::find_if(inputs.begin(), inputs.end(),
                                 [&](const MidiInputInfo& input) { return input.name == name; });
                if (found == inputs.end()) {
                    error = RtMidiInput::lostMessage(name);
                    return nullptr;
                }
                auto input = RtMidiInput::open(*found, handler, error);
                if (!input)
                    return nullptr;
                return std::make_unique<SystemInputPort>(std::move(input));
            }};
}

Application::Application(MessageService& messages, SettingsStore& settings,
                         MidiDeviceAccess devices, MidiInputAccess inputs)
    : messages_(messages), settings_(settings), devices_(std::move(devices)),
      inputs_(std::move(inputs))
{
    readBendRange();
    presenceTimer_.setInterval(inputCheckMilliseconds);
    QObject::connect(&presenceTimer_, &QTimer::timeout, &queue_, [this] { checkInput(); });
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

    // An input kept from the last session is opened again when it is there; when it is not,
    // the choice stays for a later start.
    const std::string input = settings_.value(midiInputSetting).value_or(QString()).toStdString();
    const auto present = inputs_.list();
    if (!input.empty() && std::find(present.begin(), present.end(), input) != present.end())
        switchMidiInput(input);
}

void Application::replaceSound(std::shared_ptr<MidiService> service)
{
    // Players end before the device closes, so no message ever reaches a closed device; the
    // output then ends what else sounds (a lattice chord) on the device that plays it.
    players_.stopPlaying();
    endKeyboardNotes();
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
    closeMidiInput();
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
    endKeyboardNotes();
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

void Application::InputHandler::midiReceived(const std::uint32_t* messages, std::size_t count)
{
    // The input's own thread: copy, and leave the playing to the user-interface thread.
    const unsigned generation = application_.inputGeneration_.load();
    std::vector<std::uint32_t> copied(messages, messages + count);
    QMetaObject::invokeMethod(
        &application_.queue_,
        [app = &application_, generation, copied = std::move(copied)] {
            app->keyboardReceived(generation, copied);
        },
        Qt::QueuedConnection);
}

void Application::InputHandler::inputLost(const std::string& message)
{
    const unsigned generation = application_.inputGeneration_.load();
    QMetaObject::invokeMethod(
        &application_.queue_,
        [app = &application_, generation, message] { app->inputLost(generation, message); },
        Qt::QueuedConnection);
}

void Application::checkInput()
{
    if (input_)
        input_->checkPresent();
}

void Application::keyboardReceived(unsigned generation, const std::vector<std::uint32_t>& messages)
{
    // Late messages of an input closed since, and notes for no window, sound nothing.
    if (generation != inputGeneration_.load() || !input_ || !target_)
        return;
    for (const std::uint32_t message : messages)
        keyboard_.receive(message);
    tellTarget();
}

void Application::inputLost(unsigned generation, const std::string& message)
{
    if (generation != inputGeneration_.load() || !input_)
        return;
    // The choice stays in the store: the port may be back at the next start.
    closeMidiInput();
    messages_.showMessage(QString::fromStdString(message));
}

void Application::closeMidiInput()
{
    presenceTimer_.stop();
    // Once the port is closed nothing more arrives; what it queued before is passed over.
    input_.reset();
    ++inputGeneration_;
    inputName_.clear();
    endKeyboardNotes();
}

void Application::endKeyboardNotes()
{
    const bool sounding = !keyboard_.soundingKeys().empty();
    keyboard_.endAll();
    if (sounding)
        tellTarget();
}

void Application::tellTarget()
{
    if (target_)
        target_->keysSounding(keyboard_.soundingKeys());
}

bool Application::switchMidiInput(const std::string& name)
{
    if (name.empty()) {
        closeMidiInput();
        settings_.setValue(midiInputSetting, QString());
        return true;
    }
    // The new port opens before the old one closes, so a failure leaves the old one playing.
    std::string error;
    auto input = inputs_.open(name, handler_, error);
    if (!input) {
        messages_.showMessage(QString::fromStdString(
            error.empty() ? "Unable to open the MIDI input \"" + name + "\"." : error));
        return false;
    }
    closeMidiInput();
    input_ = std::move(input);
    inputName_ = name;
    settings_.setValue(midiInputSetting, QString::fromStdString(name));
    presenceTimer_.start();
    return true;
}

void Application::playFromKeyboard(KeyboardTarget& target)
{
    if (target_ != &target)
        endKeyboardNotes();
    target_ = &target;
    keyboard_.setScale(target.keyScale(), target.keyboardMapping());
}

void Application::keyboardTargetGone(KeyboardTarget& target)
{
    if (target_ != &target)
        return;
    endKeyboardNotes();
    target_ = nullptr;
}

}  // namespace tv
