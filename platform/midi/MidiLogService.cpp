#include "platform/midi/MidiLogService.h"

#include "core/midi/MidiMessage.h"
#include "core/pitch/NumberText.h"

namespace tv {

MidiLogService::MidiLogService(std::FILE* file, std::shared_ptr<MidiService> device)
    : file_(file), device_(std::move(device)), opened_(std::chrono::steady_clock::now())
{
}

std::shared_ptr<MidiLogService> MidiLogService::open(const std::string& path,
                                                     std::shared_ptr<MidiService> device)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return nullptr;
    return std::shared_ptr<MidiLogService>(new MidiLogService(file, std::move(device)));
}

MidiLogService::~MidiLogService()
{
    close();
    std::lock_guard lock(mutex_);
    if (file_)
        std::fclose(file_);
}

void MidiLogService::writeLine(const std::string& hex)
{
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    const std::chrono::duration<double, std::milli> since =
        std::chrono::steady_clock::now() - opened_;
    const std::string line = formatFixed(since.count(), 3) + ' ' + hex + '\n';
    std::fwrite(line.data(), 1, line.size(), file_);
    // Each line reaches the file at once, so the log can be followed while it grows.
    std::fflush(file_);
}

void MidiLogService::send(std::uint32_t packed)
{
    writeLine(messageHex(packed));
    if (device_)
        device_->send(packed);
}

void MidiLogService::sendBytes(std::span<const std::uint8_t> message)
{
    writeLine(messageHex(message));
    if (device_)
        device_->sendBytes(message);
}

void MidiLogService::close()
{
    if (device_)
        device_->close();
}

}  // namespace tv
