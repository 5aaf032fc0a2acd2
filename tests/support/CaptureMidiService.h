#pragma once

#include "core/midi/MidiMessage.h"
#include "core/midi/MidiService.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace tv::test {

// A MIDI service that keeps every message it receives, for checking exact bytes. A message
// of any length stands in messages() as its status byte alone (0xF0 for a system-exclusive
// one) and whole in longMessages() and hex().
class CaptureMidiService : public MidiService {
public:
    void send(std::uint32_t packed) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(packed);
        longAt_.push_back(none);
        times_.push_back(std::chrono::steady_clock::now());
    }
    void sendBytes(std::span<const std::uint8_t> message) override
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(message.empty() ? 0u : message.front());
        longAt_.push_back(long_.size());
        long_.emplace_back(message.begin(), message.end());
        times_.push_back(std::chrono::steady_clock::now());
    }
    std::vector<std::vector<std::uint8_t>> longMessages() const
    {
        std::lock_guard lock(mutex_);
        return long_;
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
        std::lock_guard lock(mutex_);
        std::vector<std::string> out;
        for (std::size_t i = 0; i < messages_.size(); ++i)
            out.push_back(longAt_[i] == none ? messageHex(messages_[i])
                                             : messageHex(long_[longAt_[i]]));
        return out;
    }
    void clear()
    {
        std::lock_guard lock(mutex_);
        messages_.clear();
        longAt_.clear();
        long_.clear();
        times_.clear();
    }
    bool closed() const
    {
        std::lock_guard lock(mutex_);
        return closed_;
    }

private:
    mutable std::mutex mutex_;
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::vector<std::uint32_t> messages_;
    std::vector<std::size_t> longAt_;  // per message, its place in long_, or none
    std::vector<std::vector<std::uint8_t>> long_;
    std::vector<std::chrono::steady_clock::time_point> times_;
    bool closed_ = false;
};

}  // namespace tv::test
