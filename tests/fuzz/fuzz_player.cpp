// The player over any code, on a clock that never sleeps: it ends, its waits never go back in
// time, and everything it sends is a MIDI channel message with data bytes below 0x80.
#include "FuzzCheck.h"

#include "core/script/ChannelNoteTable.h"
#include "core/script/PlayerTestSupport.h"
#include "core/script/ScriptPlayer.h"
#include "support/CaptureMidiService.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tv;
    const CompiledScript code(std::vector<std::uint8_t>(data, data + size));
    test::FakeClock clock;
    test::CaptureMidiService service;
    ChannelNoteTable channelNotes;
    int reports = 0;
    const PlayerReporter reporter = [&](std::string_view message) {
        FUZZ_CHECK(message.starts_with("Cannot interpret script: "));
        ++reports;
    };
    // Twice on one channel table, as repeated key presses play: the second run ends the notes
    // the first one left in the table.
    runScript(code, service, channelNotes, clock, reporter);
    runScript(code, service, channelNotes, clock, reporter);
    FUZZ_CHECK(reports <= 2);

    for (const std::uint32_t message : service.messages())
        FUZZ_CHECK(fuzz::isSaneChannelMessage(message));
    for (std::size_t i = 1; i < clock.waits.size(); ++i)
        FUZZ_CHECK(clock.waits[i - 1] <= clock.waits[i]);
    return 0;
}
