#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tv::test {

// A private JACK server with the dummy driver, started for one test and stopped after it.
class JackServer {
public:
    ~JackServer();
    // False (with the reason) when jackd cannot be started or does not answer in time.
    bool start(const std::string& name, std::string& reason);
    void stop();
    const std::string& name() const { return name_; }

private:
    std::string name_;
    pid_t pid_ = -1;
};

// A JACK client with one MIDI input port that keeps every event that arrives.
class JackMidiCapture {
public:
    ~JackMidiCapture();
    bool open(const std::string& server, const std::string& client, std::string& reason);
    void close();
    // The events received so far, each as lower-case hex bytes ("90 3c 5a").
    std::vector<std::string> events() const;

private:
    static int process(jack_nframes_t frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    static constexpr int maxBytes = 4096;
    std::uint8_t bytes_[maxBytes] = {};
    std::uint16_t eventLengths_[maxBytes] = {};
    std::atomic<int> byteCount_{0};
    std::atomic<int> eventCount_{0};
};

}  // namespace tv::test
