#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Needs tonalvane_use_mido(target) in the test's CMakeLists.txt.
#if !defined(TONALVANE_MIDO_PYTHON) || !defined(TONALVANE_SMF_MESSAGES_SCRIPT)
#error "MidoReader.h needs tonalvane_use_mido for this test program"
#endif

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace tv::test {

// Reads MIDI files with the Python package mido, through tests/support/smf_messages.py: per
// file a line "file NAME format F tracks N ticks T", then a line per message with its
// absolute tick ("60 80 3C 00", "0 set_tempo tempo=1000000").
class MidoReader {
public:
    // False when no python3 with mido was found when the build was configured.
    static bool available() { return !std::string_view(TONALVANE_MIDO_PYTHON).empty(); }

    // The reader's output; `ok` false when it failed (a file it cannot read, for one).
    struct Output {
        bool ok = false;
        std::string text;
    };

    static Output read(const std::vector<std::string>& paths)
    {
        std::string command = quoted(TONALVANE_MIDO_PYTHON);
        command += ' ';
        command += quoted(TONALVANE_SMF_MESSAGES_SCRIPT);
        for (const auto& path : paths) {
            command += ' ';
            command += quoted(path);
        }
        command += " 2>&1";
        Output output;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return output;
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.text.append(buffer, n);
        output.ok = pclose(pipe) == 0;
        return output;
    }

private:
    static std::string quoted(std::string_view text)
    {
        std::string result = "'";
        for (const char c : text) {
            if (c == '\'')
                result += "'\\''";
            else
                result += c;
        }
        result += '\'';
        return result;
    }
};

}  // namespace tv::test
