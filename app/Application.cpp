#include "app/Application.h"

#include "platform/MessageService.h"

#include <algorithm>

namespace tv {

Application::Application(MessageService& messages, SettingsStore& settings)
    : messages_(messages), settings_(settings), midiOutput_(std::make_unique<MidiOutput>(nullptr))
{
}

Application::~Application()
{
    closeMidi();
    for (auto* listener : listeners_)
        listener->registeredWith_ = nullptr;
}

void Application::openMidi(std::shared_ptr<MidiService> service, const std::string& error)
{
    midiOutput_ = std::make_unique<MidiOutput>(std::move(service));
    if (!error.empty())
        messages_.showMessage(QString::fromStdString(error));
}

void Application::closeMidi()
{
    if (midiOutput_)
        midiOutput_->closeDevice();
    // A silent output stays behind so that late callers never find none.
    midiOutput_ = std::make_unique<MidiOutput>(nullptr);
}

MidiOutput& Application::midiOutput() { return *midiOutput_; }

void Application::registerListener(ElementListener* listener)
{
    if (!listener)
        return;
    // A listener has one entry: registering it again moves it to the head.
    if (listener->registeredWith_)
        listener->registeredWith_->unregisterListener(listener);
    listeners_.insert(listeners_.begin(), listener);
    listener->registeredWith_ = this;
}

void Application::unregisterListener(ElementListener* listener)
{
    const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end())
        return;
    listeners_.erase(it);
    listener->registeredWith_ = nullptr;
}

void Application::broadcastRatio(std::uint32_t numerator, std::uint32_t denominator)
{
    // A listener may unregister (close its window) while it is told; walk a snapshot.
    const auto snapshot = listeners_;
    for (auto* listener : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->onRatioChosen(numerator, denominator);
    }
}

void Application::broadcastCents(double cents)
{
    const auto snapshot = listeners_;
    for (auto* listener : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end())
            listener->onCentsChosen(cents);
    }
}

}  // namespace tv
