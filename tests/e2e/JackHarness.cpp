#include "JackHarness.h"

#include <jack/midiport.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tv::test {

JackServer::~JackServer() { stop(); }

bool JackServer::start(const std::string& name, std::string& reason, int periodFrames)
{
    name_ = name;
    const std::string period = std::to_string(periodFrames);
    pid_ = fork();
    if (pid_ < 0) {
        reason = "fork failed";
        return false;
    }
    if (pid_ == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execlp("jackd", "jackd", "--no-realtime", "-n", name.c_str(), "-d", "dummy", "-r", "48000",
               "-p", period.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until a client can connect.
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            reason = "jackd exited at once (status " + std::to_string(status) + ")";
            return false;
        }
        jack_status_t jackStatus;
        if (jack_client_t* probe = jack_client_open(
                "probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                &jackStatus, name.c_str())) {
            jack_client_close(probe);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    reason = "jackd did not answer within 15 s";
    stop();
    return false;
}

void JackServer::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

JackMidiCapture::~JackMidiCapture() { close(); }

bool JackMidiCapture::open(const std::string& server, const std::string& client,
                           std::string& reason, std::chrono::microseconds readDelay)
{
    readDelay_ = readDelay;
    jack_status_t status;
    client_ = jack_client_open(client.c_str(),
                               static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                               &status, server.c_str());
    if (!client_) {
        reason = "cannot open a JACK client";
        return false;
    }
    port_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (!port_ || jack_set_process_callback(client_, &JackMidiCapture::process, this) != 0 ||
        jack_set_xrun_callback(client_, &JackMidiCapture::xrun, this) != 0 ||
        jack_activate(client_) != 0) {
        reason = "cannot register and activate the capture port";
        close();
        return false;
    }
    return true;
}

void JackMidiCapture::close()
{
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
        client_ = nullptr;
    }
}

int JackMidiCapture::process(jack_nframes_t frames, void* self)
{
    auto* capture = static_cast<JackMidiCapture*>(self);
    if (capture->readDelay_.count() > 0)
        std::this_thread::sleep_for(capture->readDelay_);
    void* buffer = jack_port_get_buffer(capture->port_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    const auto now = Clock::now();
    int bytes = capture->byteCount_.load(std::memory_order_relaxed);
    int events = capture->eventCount_.load(std::memory_order_relaxed);
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0)
            continue;
        if (bytes + static_cast<int>(event.size) > maxBytes || events >= maxBytes)
            break;
        for (size_t b = 0; b < event.size; ++b)
            capture->bytes_[bytes++] = event.buffer[b];
        capture->arrivals_[events] = now;
        capture->eventLengths_[events++] = static_cast<std::uint16_t>(event.size);
    }
    capture->byteCount_.store(bytes, std::memory_order_release);
    capture->eventCount_.store(events, std::memory_order_release);
    return 0;
}

int JackMidiCapture::xrun(void* self)
{
    auto* capture = static_cast<JackMidiCapture*>(self);
    std::lock_guard lock(capture->overrunMutex_);
    capture->overruns_.push_back(Clock::now());
    return 0;
}

int JackMidiCapture::overrunsSince(Clock::time_point since) const
{
    std::lock_guard lock(overrunMutex_);
    int count = 0;
    for (const auto when : overruns_)
        count += when >= since ? 1 : 0;
    return count;
}

std::vector<JackMidiCapture::Clock::time_point> JackMidiCapture::arrivals() const
{
    const int events = eventCount_.load(std::memory_order_acquire);
    return std::vector<Clock::time_point>(arrivals_, arrivals_ + events);
}

std::vector<std::string> JackMidiCapture::events() const
{
    static constexpr char digits[] = "0123456789abcdef";
    const int events = eventCount_.load(std::memory_order_acquire);
    std::vector<std::string> out;
    int position = 0;
    for (int e = 0; e < events; ++e) {
        std::string text;
        for (int b = 0; b < eventLengths_[e]; ++b, ++position) {
            if (b)
                text += ' ';
            text += digits[bytes_[position] >> 4];
            text += digits[bytes_[position] & 15];
        }
        out.push_back(text);
    }
    return out;
}

JackMidiSource::~JackMidiSource() { close(); }

bool JackMidiSource::open(const std::string& server, const std::string& client, std::string& reason)
{
    jack_status_t status;
    client_ = jack_client_open(client.c_str(),
                               static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                               &status, server.c_str());
    if (!client_) {
        reason = "cannot open a JACK client";
        return false;
    }
    port_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!port_ || jack_set_process_callback(client_, &JackMidiSource::process, this) != 0 ||
        jack_activate(client_) != 0) {
        reason = "cannot register and activate the source port";
        close();
        return false;
    }
    return true;
}

void JackMidiSource::close()
{
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
        client_ = nullptr;
    }
}

void JackMidiSource::send(std::vector<std::uint8_t> event)
{
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(event));
}

bool JackMidiSource::drained(std::chrono::milliseconds limit) const
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty())
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

bool JackMidiSource::connected() const { return port_ && jack_port_connected(port_) > 0; }

int JackMidiSource::process(jack_nframes_t frames, void* self)
{
    auto* source = static_cast<JackMidiSource*>(self);
    void* buffer = jack_port_get_buffer(source->port_, frames);
    jack_midi_clear_buffer(buffer);
    std::unique_lock lock(source->mutex_, std::try_to_lock);
    if (!lock.owns_lock())
        return 0;
    for (const auto& event : source->pending_)
        jack_midi_event_write(buffer, 0, event.data(), event.size());
    source->pending_.clear();
    return 0;
}

}  // namespace tv::test
