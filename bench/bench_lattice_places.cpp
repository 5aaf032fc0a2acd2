// Reads every Scala file of a folder (the public scale archive by default, or the folder given
// as the first argument) into a lattice and reports the share of files in which two ratio
// pitches that are not octaves of each other fall on one plot position. Goal: under 1 %.

#include "core/lattice/Lattice.h"
#include "core/lattice/SharedPlaces.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(TONALVANE_SCALES_DIR);
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "bench_lattice_places: no folder %s\n", folder.string().c_str());
        return 1;
    }
    int files = 0, withLargePrimes = 0, shared = 0, sharedLarge = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!entry.is_regular_file() || ext != ".scl")
            continue;
        tv::Lattice lattice;
        lattice.readScala(entry.path().string());
        ++files;
        bool large = false;
        for (int i = 0; i < lattice.count(); ++i)
            large = large || !lattice.element(i)->higherPrimes.empty();
        const bool overlaps = tv::sharedPlaces(lattice) > 0;
        withLargePrimes += large ? 1 : 0;
        shared += overlaps ? 1 : 0;
        sharedLarge += overlaps && large ? 1 : 0;
        if (overlaps)
            std::printf("  shared places: %s\n", entry.path().filename().string().c_str());
    }
    const auto percent = [](int part, int whole) { return whole ? 100.0 * part / whole : 0.0; };
    std::printf("Scale files in %s: %d, %d of them with a prime above 13\n",
                folder.string().c_str(), files, withLargePrimes);
    std::printf("Files with two non-octave pitches on one plot position: %d (%.2f %%)\n", shared,
                percent(shared, files));
    std::printf("  of the files with a prime above 13: %d (%.2f %%)\n", sharedLarge,
                percent(sharedLarge, withLargePrimes));
    return 0;
}
