#include "core/tuning/TuningExport.h"

#include "core/midi/MtsMessages.h"
#include "core/pitch/NumberText.h"
#include "core/tuning/KeyboardMapping.h"

#include <cmath>

namespace tv {

KeyTunings keyTunings(const KeyScale& scale, const KeyboardMapping& mapping)
{
    KeyTunings tunings{};
    for (std::size_t key = 0; key < tunings.size(); ++key)
        tunings[key] = mapping.keyTuning(scale, static_cast<int>(key));
    return tunings;
}

std::string anaMarkTuningText(const KeyTunings& tunings, std::string_view title)
{
    std::string text = "; ";
    for (const char c : title) {
        // The title stays on its comment line.
        text += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    text += "\r\n[Tuning]\r\n";
    for (std::size_t key = 0; key < tunings.size(); ++key)
        text += "note " + std::to_string(key) + "=" + std::to_string(std::llround(tunings[key])) +
                "\r\n";
    text += "\r\n[Exact Tuning]\r\nBaseFreq=8.1757989156437073336\r\n";
    for (std::size_t key = 0; key < tunings.size(); ++key)
        // Never "-0.000000" for a key a hair below the base.
        text += "note " + std::to_string(key) + "=" +
                formatFixed(std::fabs(tunings[key]) < 5e-7 ? 0.0 : tunings[key], 6) + "\r\n";
    return text;
}

TuningDump tuningDump(const KeyTunings& tunings, std::string_view title, std::uint8_t program)
{
    TuningDump dump;
    std::string& b = dump.bytes;
    b = {'\xF0', '\x7E', '\x7F', '\x08', '\x01', static_cast<char>(program & 0x7F)};
    for (std::size_t i = 0; i < 16; ++i) {
        const char c = i < title.size() ? title[i] : ' ';
        b += c >= 0x20 && c < 0x7F ? c : '?';
    }
    for (std::size_t key = 0; key < tunings.size(); ++key) {
        auto word = mtsFrequency(tunings[key] / 100.0);
        if (!word) {
            dump.keysOutOfRange.push_back(static_cast<int>(key));
            word = MtsFrequency{static_cast<std::uint8_t>(key), 0, 0};
        }
        b += static_cast<char>(word->note);
        b += static_cast<char>(word->fractionMsb);
        b += static_cast<char>(word->fractionLsb);
    }
    std::uint8_t checksum = 0;
    for (std::size_t i = 1; i < b.size(); ++i)
        checksum ^= static_cast<std::uint8_t>(b[i]);
    b += static_cast<char>(checksum & 0x7F);
    b += '\xF7';
    return dump;
}

}  // namespace tv
