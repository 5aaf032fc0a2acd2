#include "core/keyboard/KeySlotScripts.h"

namespace tv {

std::string KeySlotScripts::scriptText(int slot) const
{
    const KeySlot* key = slots_.slotAt(slot);
    return key && key->scriptText ? *key->scriptText : std::string();
}

void KeySlotScripts::replaceCode(int slot, std::shared_ptr<const CompiledScript> code)
{
    if (KeySlot* key = slots_.slotAt(slot))
        key->code = std::move(code);
}

}  // namespace tv
