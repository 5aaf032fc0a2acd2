#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tv::test {

// A private JACK server with the dummy driver, started for one test and stopped after it.
class JackServer {
public:
    ~JackServer();
    // False (with the reason) when jackd cannot be started or does not answer in time. The
    // server runs at 48 kHz in periods of `periodFrames`.
    bool start(const std::string& name, std::string& reason, int periodFrames = 128);
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
    // `readDelay` is spent at the start of every process cycle before the port is read, as a
    // synthesizer spends it on its sound: the sender's cycle is then over well before this
    // client has taken the messages.
    bool open(const std::string& server, const std::string& client, std::string& reason,
              std::chrono::microseconds readDelay = {});
    void close();
    using Clock = std::chrono::steady_clock;
    // The events received so far, each as lower-case hex bytes ("90 3c 5a").
    std::vector<std::string> events() const;
    // When each of them was taken from the port.
    std::vector<Clock::time_point> arrivals() const;
    // Overruns the server has reported at or after `since`.
    int overrunsSince(Clock::time_point since) const;

private:
    static int process(jack_nframes_t frames, void* self);
    static int xrun(void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::chrono::microseconds readDelay_{};
    static constexpr int maxBytes = 4096;
    std::uint8_t bytes_[maxBytes] = {};
    std::uint16_t eventLengths_[maxBytes] = {};
    Clock::time_point arrivals_[maxBytes] = {};
    std::atomic<int> byteCount_{0};
    std::atomic<int> eventCount_{0};
    mutable std::mutex overrunMutex_;  // the server's notification thread adds, tests read
    std::vector<Clock::time_point> overruns_;
};

// A JACK client with one MIDI output port that plays what it is handed: each call to send
// becomes one event of the next process cycle.
class JackMidiSource {
public:
    ~JackMidiSource();
    bool open(const std::string& server, const std::string& client, std::string& reason);
    void close();
    void send(std::vector<std::uint8_t> event);
    // Waits until every event handed over has been written to the port.
    bool drained(std::chrono::milliseconds limit) const;
    // Whether a reader's port is connected to this one.
    bool connected() const;

private:
    static int process(jack_nframes_t frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    mutable std::mutex mutex_;  // the process callback only tries it
    std::vector<std::vector<std::uint8_t>> pending_;
};

}  // namespace tv::test
