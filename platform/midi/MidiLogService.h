#pragma once

#include "core/midi/MidiService.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace tv {

// Appends every message handed to it to a text file, one line each: the milliseconds since
// the log was opened with three decimals, a space, and the message bytes in lower-case hex
// ("12.345 c0 05"), then passes the message on to the device behind it, if there is one.
class MidiLogService : public MidiService {
public:
    // Null when the file cannot be opened for appending.
    static std::shared_ptr<MidiLogService> open(const std::string& path,
                                                std::shared_ptr<MidiService> device);
    ~MidiLogService() override;

    void send(std::uint32_t packed) override;
    // Logged as a short message is: every byte in hex on one line.
    void sendBytes(std::span<const std::uint8_t> message) override;
    void close() override;

private:
    MidiLogService(std::FILE* file, std::shared_ptr<MidiService> device);
    void writeLine(const std::string& hex);

    std::mutex mutex_;
    std::FILE* file_;
    std::shared_ptr<MidiService> device_;
    std::chrono::steady_clock::time_point opened_;
};

}  // namespace tv
