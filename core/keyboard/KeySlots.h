#pragma once

#include "core/keyboard/KeyCodes.h"
#include "core/script/CompiledScript.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace tv {

// The script of one key. Either part may be absent: a fresh key has neither, a key read from
// a file may have code without text. The text holds CR LF line breaks, as the editor keeps
// them. The code is shared: a player that started on it keeps its own share, so replacing or
// dropping the slot's code never frees bytes under a running player.
struct KeySlot {
    std::optional<std::string> scriptText;
    std::shared_ptr<const CompiledScript> code;

    bool empty() const { return !scriptText && !code; }
};

// The 59 key slots of one keyboard, numbered as slotForKey numbers them.
class KeySlots {
public:
    // Null for any index outside 0 to 58.
    KeySlot* slotAt(int index);
    const KeySlot* slotAt(int index) const;

    // Every slot without text and code, as in a fresh keyboard.
    void clear();

private:
    std::array<KeySlot, keySlotCount> slots_;
};

}  // namespace tv
