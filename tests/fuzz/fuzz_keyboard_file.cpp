// Keyboard files: any bytes read into the key slots without harm, and what the slots then
// write reads back to the same texts and writes again to the same file.
#include "FuzzCheck.h"

#include "core/keyboard/KeyboardFile.h"

#include <sstream>
#include <string>

namespace {

tv::KeySlots readSlots(const std::string& bytes)
{
    tv::KeySlots slots;
    std::istringstream in(bytes);
    tv::readKeyboardStream(slots, in);
    return slots;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    const KeySlots first = readSlots(std::string(reinterpret_cast<const char*>(data), size));
    const std::string written = keyboardFileText(first);
    const KeySlots second = readSlots(written);
    for (int index = 0; index < keySlotCount; ++index)
        FUZZ_CHECK(first.slotAt(index)->scriptText == second.slotAt(index)->scriptText);
    FUZZ_CHECK(keyboardFileText(second) == written);
    return 0;
}
