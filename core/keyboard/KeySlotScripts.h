#pragma once

#include "core/keyboard/KeySlots.h"
#include "core/script/ScriptCompiler.h"

namespace tv {

// The keyboard's slots as the compiler sees them: a compile reads a slot's text and puts the
// new code into the same slot. The slots must outlive the adapter.
class KeySlotScripts : public ScriptSlots {
public:
    explicit KeySlotScripts(KeySlots& keys) : slots_(keys) {}

    // The empty text for a slot without one and for any index outside 0 to 58.
    std::string scriptText(int slot) const override;
    // Ignored for an index outside 0 to 58. A player that runs the old code keeps its share.
    void replaceCode(int slot, std::shared_ptr<const CompiledScript> code) override;

private:
    KeySlots& slots_;
};

}  // namespace tv
