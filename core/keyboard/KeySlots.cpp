#include "core/keyboard/KeySlots.h"

namespace tv {
namespace {

bool isSlot(int index) { return index >= 0 && index < keySlotCount; }

}  // namespace

KeySlot* KeySlots::slotAt(int index)
{
    return isSlot(index) ? &slots_[static_cast<std::size_t>(index)] : nullptr;
}

const KeySlot* KeySlots::slotAt(int index) const
{
    return isSlot(index) ? &slots_[static_cast<std::size_t>(index)] : nullptr;
}

void KeySlots::clear()
{
    for (auto& slot : slots_)
        slot = KeySlot{};
}

}  // namespace tv
