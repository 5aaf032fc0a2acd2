// Times opening a keyboard file whose 59 keys each hold a script of about 4 KB with its
// compiled code, as a user's full keyboard would be; saving it again for comparison.

#include "bench/BenchTiming.h"
#include "core/keyboard/KeyboardFile.h"
#include "core/pitch/NumberText.h"
#include "core/script/ScriptCompiler.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace tv::bench;

constexpr std::size_t scriptSize = 4096;
constexpr int runs = 21;

// Chords, rests and tempo changes in CR LF lines, different for every key.
std::string scriptFor(int key)
{
    std::string text = "; key " + whole(static_cast<std::uint64_t>(key)) + "\r\n";
    for (int line = 0; text.size() < scriptSize; ++line) {
        const int n = 1 + (key + line) % 7;
        text += "PLAY " + whole(n + 8) + "/8 " + whole(3 * n + 2) + "/" + whole(2 * n + 1) +
                " 5/4 7/4 " + whole(100 + 25 * (line % 9)) + " MSEC\r\n";
        if (line % 5 == 4)
            text += "REST 50 MSEC ; a breath between phrases\r\n";
    }
    text.resize(scriptSize);
    // Cut at the last whole line.
    text.erase(text.rfind("\r\n"));
    return text;
}

}  // namespace

int main()
{
    namespace fs = std::filesystem;
    tv::KeySlots slots;
    std::size_t codeBytes = 0;
    for (int i = 0; i < tv::keySlotCount; ++i) {
        const std::string text = scriptFor(i);
        *slots.slotAt(i) = {text, tv::compileScript(text).code};
        codeBytes += slots.slotAt(i)->code->size();
    }
    const fs::path path = fs::temp_directory_path() / "tonalvane-bench-keyboard.tvk";
    const tv::FileResult saved = tv::writeKeyboardFile(slots, path.string());
    if (!saved.ok) {
        std::cerr << saved.message << "\n";
        return 1;
    }
    std::cout << "file: " << path.string() << ", " << whole(fs::file_size(path)) << " bytes, "
              << whole(tv::keySlotCount) << " keys, " << whole(codeBytes) << " bytes of code\n";

    bool allRead = true;
    reportRuns("open",
               timeRuns(runs,
                        [&] {
                            tv::KeySlots read;
                            allRead = tv::readKeyboardFile(read, path.string()).ok && allRead &&
                                      read.slotAt(tv::keySlotCount - 1)->code;
                        }),
               3);
    if (!allRead) {
        std::cerr << "the file did not read completely\n";
        return 1;
    }
    reportRuns("save", timeRuns(runs, [&] { tv::writeKeyboardFile(slots, path.string()); }), 3);

    std::error_code ec;
    fs::remove(path, ec);
    return 0;
}
