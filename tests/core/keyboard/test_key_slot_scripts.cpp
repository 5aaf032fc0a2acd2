#include "core/keyboard/KeySlotScripts.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(KeySlotScripts, CompilingASlotReadsItsTextAndReplacesOnlyItsCode)
{
    KeySlots slots;
    KeySlotScripts scripts(slots);
    slots.slotAt(58)->scriptText = "PLAY 3/2";
    slots.slotAt(0)->code = compileScript("PLAY 1/1").code;
    const auto old = compileScript("REST 1 ms").code;
    slots.slotAt(58)->code = old;
    const std::weak_ptr<const CompiledScript> held = old;

    const CompileResult result = ScriptCompiler().compile(scripts, 58);
    EXPECT_EQ(*slots.slotAt(58)->code, *compileScript("PLAY 3/2").code);
    EXPECT_EQ(slots.slotAt(58)->code, result.code);
    EXPECT_EQ(*slots.slotAt(0)->code, *compileScript("PLAY 1/1").code) << "another slot changed";
    EXPECT_EQ(*slots.slotAt(58)->scriptText, "PLAY 3/2") << "the text is the editor's to keep";
    EXPECT_FALSE(held.expired()) << "the old code went while a player still held it";
}

TEST(KeySlotScripts, SlotsWithoutTextAndIndexesOutsideTheKeyboard)
{
    KeySlots slots;
    KeySlotScripts scripts(slots);
    slots.slotAt(3)->code = compileScript("PLAY 1/1").code;
    for (const int index : {-1, 3, 59})
        EXPECT_EQ(scripts.scriptText(index), "") << index;
    // A slot without text compiles to the empty script.
    ScriptCompiler().compile(scripts, 3);
    EXPECT_EQ(*slots.slotAt(3)->code, CompiledScript());
    for (const int index : {-1, 59})
        scripts.replaceCode(index, compileScript("PLAY 5/4").code);
    for (int index = 0; index < keySlotCount; ++index)
        EXPECT_EQ(slots.slotAt(index)->empty(), index != 3) << index;
}

}  // namespace
}  // namespace tv
