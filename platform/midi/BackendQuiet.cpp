#include "platform/midi/BackendQuiet.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdarg>
#include <iostream>

namespace tv {
namespace {

void silentAlsa(const char*, int, const char*, int, const char*, ...) {}
void silentJack(const char*) {}

}  // namespace

BackendQuiet::BackendQuiet() : previous_(std::cerr.rdbuf(captured_.rdbuf()))
{
    snd_lib_error_set_handler(&silentAlsa);
    jack_set_error_function(&silentJack);
    jack_set_info_function(&silentJack);
}

BackendQuiet::~BackendQuiet() { std::cerr.rdbuf(previous_); }

std::string BackendQuiet::text() const
{
    std::string out;
    std::istringstream lines(captured_.str());
    std::string line;
    while (std::getline(lines, line)) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            continue;
        const auto last = line.find_last_not_of(" \t\r");
        const std::string trimmed = line.substr(first, last - first + 1);
        // RtMidi repeats a warning each time it retries the backend; say it once.
        if (out.find(trimmed) != std::string::npos)
            continue;
        if (!out.empty())
            out += "; ";
        out += trimmed;
    }
    return out;
}

}  // namespace tv
