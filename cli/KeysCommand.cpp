#include "cli/CliCommand.h"
#include "core/keyboard/KeyboardFile.h"

#include <algorithm>
#include <iostream>

namespace tv::cli {
namespace {

bool reported(const FileResult& result)
{
    if (!result.ok)
        std::cerr << result.message << '\n';
    return result.ok;
}

// The key's caption as its button shows it without Shift; the space bar's is empty.
std::string_view keyName(int slot)
{
    const auto caption = keyCaption(keyForSlot(slot), false);
    return caption.empty() ? std::string_view("space") : caption;
}

std::string_view firstLine(const std::optional<std::string>& text)
{
    if (!text)
        return {};
    const std::string_view whole = *text;
    return whole.substr(0, whole.find_first_of("\r\n"));
}

int runKeys(const Arguments& given)
{
    Arguments args = given;
    const bool saving = std::find(args.begin(), args.end(), "--save") != args.end();
    std::string savePath;
    if (!takeStringOption(args, "--save", savePath))
        return exitUsage;
    if (args.size() != 1 || (args[0].size() > 1 && args[0].front() == '-'))
        return usageError("keys needs one keyboard file to read, and optionally --save OUT.tvk");

    KeySlots slots;
    if (!reported(readKeyboardFile(slots, args[0])))
        return exitFailed;
    for (int index = 0; index < keySlotCount; ++index) {
        const KeySlot& slot = *slots.slotAt(index);
        if (slot.empty())
            continue;
        std::cout << index << '\t' << keyName(index) << '\t' << (slot.code ? slot.code->size() : 0)
                  << '\t' << firstLine(slot.scriptText) << '\n';
    }
    if (saving && !reported(writeKeyboardFile(slots, savePath)))
        return exitFailed;
    return exitOk;
}

const CliRegistration keysRegistration({
    "keys",
    "keys FILE.tvk [--save OUT.tvk]",
    "    Reads a keyboard file and lists each key that has a script: slot number, key,\n"
    "    number of code bytes as read and the script's first line, separated by tabs.\n"
    "    --save writes the keys to OUT.tvk as Tonalvane saves keyboard files.\n",
    50,
    &runKeys,
});

}  // namespace
}  // namespace tv::cli
