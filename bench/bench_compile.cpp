// Compile speed of a 64 KB script. Two texts of 65,536 characters: one whose code fits the
// work area, so that the whole text is compiled (statements with SET variables, settings,
// dynamics, tuplets and words passed over), and one of dense chords that fills the work
// area and stops at "Memory overflow!". Goal: under 10 ms.

#include "core/pitch/NumberText.h"
#include "core/script/ScriptCompiler.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string fixed(double value, int decimals) { return tv::formatFixed(value, decimals); }

std::string fill(const std::vector<std::string>& lines, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i)
        text += lines[i % lines.size()];
    text.resize(size);
    return text;
}

void measure(const char* name, const std::string& text)
{
    constexpr int runs = 200;
    std::vector<double> ms;
    tv::CompileResult result;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        result = tv::compileScript(text);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::cout << name << ": " << text.size() << " characters -> " << result.code->size() << " bytes"
              << (result.messages.empty() ? "" : " (Memory overflow!)") << '\n'
              << "  compile time, ms: min " << fixed(ms.front(), 3) << "  median "
              << fixed(ms[ms.size() / 2], 3) << "  max " << fixed(ms.back(), 3) << '\n';
}

}  // namespace

int main()
{
    const std::vector<std::string> whole{
        "SET $chord = 1/1 5/4 3/2 7/4\r\n",
        "TEMPO Q96\r\n",
        "BASE D3\r\n",
        "PLAY mf $chord[0] $chord[2] q. (a fifth, held, softly, with the pedal down)\r\n",
        "REST e2/3\r\n",
        "PLAY !80 @-1 9/8 e (a passing note, slightly louder, an octave lower)\r\n",
        "PLAY ff %50 $chord[1] 250 ms (accented, at a fixed length in milliseconds)\r\n",
        "SLEEP s\r\n",
    };
    const std::vector<std::string> dense{
        "PLAY 1/1 5/4 3/2 q\r\n",
        "PLAY @1 7/4 9/8 e\r\n",
        "REST s\r\n",
    };
    measure("whole text compiled", fill(whole, 65536));
    measure("dense chords, stops when full", fill(dense, 65536));
    std::cout << "goal: under 10 ms\n";
    return 0;
}
