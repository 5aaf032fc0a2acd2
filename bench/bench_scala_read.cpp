// Times reading a scale file of 65,535 mixed pitches into a lattice (style 0, so the read ends
// with one normalisation), and for comparison switching styles and writing the file again.
// Goal for the read: under 50 ms.

#include "bench/BenchTiming.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"
#include "core/pitch/NumberText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tv::bench;

constexpr int pitchCount = 65535;
constexpr int runs = 9;

// Ratios of every size, cents with and without the word, whole numbers, comments and blank
// lines between them, CR LF line ends: the mix of the scale archive.
std::string generatedFile(std::mt19937& random)
{
    std::uniform_int_distribution<std::uint32_t> small(1, 4096);
    std::uniform_int_distribution<std::uint32_t> large(1, 4294967295u);
    std::uniform_real_distribution<double> size(-1200.0, 2400.0);
    std::string text = "! bench.scl\r\n!\r\nGenerated scale of mixed pitches\r\n ";
    text += whole(pitchCount);
    text += "\r\n!\r\n";
    const auto ratio = [&text](std::uint32_t n, std::uint32_t d) {
        text += ' ';
        text += whole(n);
        text += '/';
        text += whole(d);
        text += "\r\n";
    };
    for (int i = 0; i < pitchCount; ++i) {
        switch (i % 8) {
        case 0:
        case 1:
        case 2: ratio(small(random), small(random)); break;
        case 3: ratio(large(random), large(random)); break;
        case 4:
            text += ' ';
            text += tv::formatFixed(size(random), 5);
            text += "\r\n";
            break;
        case 5:
            text += tv::formatFixed(size(random), 3);
            text += " cents\r\n";
            break;
        case 6:
            text += ' ';
            text += whole(small(random));
            text += " ! whole number\r\n";
            break;
        default:
            text += "! a comment between the pitches\r\n\r\n 156348578434374084375/"
                    "147573952589676412928 ! beyond 32 bits\r\n";
            break;
        }
    }
    return text;
}

}  // namespace

int main()
{
    namespace fs = std::filesystem;
    std::mt19937 random(20240601);
    const fs::path path = fs::temp_directory_path() / "tonalvane-bench-scala-read.scl";
    const fs::path copy = fs::temp_directory_path() / "tonalvane-bench-scala-write.scl";
    {
        std::ofstream out(path, std::ios::binary);
        out << generatedFile(random);
    }
    std::cout << "file: " << path.string() << ", " << whole(fs::file_size(path)) << " bytes, "
              << whole(pitchCount) << " pitches\n";

    tv::Lattice lattice;
    bool allRead = true;
    const auto readMs =
        timeRuns(runs, [&] { allRead = lattice.readScala(path.string()).ok && allRead; });
    if (!allRead || lattice.count() != pitchCount) {
        std::cerr << "the generated file did not read completely (" << whole(lattice.count())
                  << " pitches)\n";
        return 1;
    }
    reportRuns("read + normalise", readMs, 2);
    std::cout << "goal: under 50 ms: " << (median(readMs) < 50.0 ? "met" : "NOT met") << "\n";

    reportRuns("setStyle(1) + setStyle(0)",
               timeRuns(runs,
                        [&] {
                            lattice.setStyle(1);
                            lattice.setStyle(0);
                        }),
               2);
    reportRuns("write", timeRuns(runs, [&] { lattice.writeScala(copy.string()); }), 2);

    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(copy, ec);
    return 0;
}
