#include "app/Application.h"

#include "platform/qt/MessageService.h"

namespace tv {

Application::Application(MessageService& messages, SettingsStore& settings)
    : messages_(messages), settings_(settings), sound_(std::make_unique<Sound>(nullptr))
{
}

Application::~Application() { closeMidi(); }

void Application::openMidi(std::shared_ptr<MidiService> service, const std::string& error)
{
    sound_->players.stopAll();
    sound_ = std::make_unique<Sound>(std::move(service));
    if (!error.empty())
        messages_.showMessage(QString::fromStdString(error));
}

void Application::closeMidi()
{
    // Players end before the device closes, so no message ever reaches a closed device.
    sound_->players.stopAll();
    sound_->output.closeDevice();
    sound_ = std::make_unique<Sound>(nullptr);
}

}  // namespace tv
