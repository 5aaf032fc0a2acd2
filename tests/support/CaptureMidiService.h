#pragma once

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiService.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace tv::test {

// A MIDI service that keeps every message it receives, for checking exact bytes.
class CaptureMidiService : public MidiService {
public:
    void send(std::uint32_t packed) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(packed);
        times_.push_back(std::chrono::steady_clock::now());
    }
    void close() override
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }

    std::vector<std::uint32_t> messages() const
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    std::vector<std::chrono::steady_clock::time_point> times() const
    {
        std::lock_guard lock(mutex_);
        return times_;
    }
    // All messages as hex, one message per entry ("90 3c 5a").
    std::vector<std::string> hex() const
    {
        std::vector<std::string> out;
        for (auto m : messages())
            out.push_back(messageHex(m));
        return out;
    }
    void clear()
    {
        std::lock_guard lock(mutex_);
        messages_.clear();
        times_.clear();
    }
    bool closed() const
    {
        std::lock_guard lock(mutex_);
        return closed_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::uint32_t> messages_;
    std::vector<std::chrono::steady_clock::time_point> times_;
    bool closed_ = false;
};

}  // namespace tv::test
