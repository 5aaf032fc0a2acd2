// Counts heap allocations on the current thread to show that playing allocates nothing.

#include "core/midi/MidiService.h"
#include "core/script/ChannelNoteTable.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {
thread_local long allocations = 0;
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The replacement pair allocates with malloc, so free is the matching release here; GCC
// cannot see that through the replaced operators.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace tv {
namespace {

class CountingService : public MidiService {
public:
    void send(std::uint32_t) override { ++sent; }
    void sendBytes(std::span<const std::uint8_t>) override { ++sent; }
    long sent = 0;
};

class ImmediateClock : public PlayerClock {
public:
    PlayerTime now() override { return current; }
    bool waitUntil(PlayerTime due) override
    {
        current = due;
        ++waits;
        return true;
    }
    PlayerTime current{0};
    long waits = 0;
};

TEST(ScriptPlayer, PlayingAllocatesNothing)
{
    const auto code = compileScript("PLAY 1/1 3/2 5/4 7/4 q PLAY *3 9/8 e REST 1 PLAY 1/1 50 ms"
                                    " REST 70 sec")
                          .code;
    const auto unknown =
        std::make_shared<const CompiledScript>(std::vector<std::uint8_t>{0x52, 0, 0, 0, 9, 0x41});
    ChannelNoteTable table;
    CountingService service;
    ImmediateClock clock;
    long reports = 0;
    const PlayerReporter reporter = [&reports](std::string_view) { ++reports; };

    const long before = allocations;
    runScript(*code, service, table, clock, reporter);
    runScript(*code, service, table, clock, reporter);
    runScript(*unknown, service, table, clock, reporter);
    const long during = allocations - before;

    EXPECT_EQ(during, 0);
    EXPECT_GT(service.sent, 20);  // the runs did play
    EXPECT_EQ(clock.waits, 2 * 8 + 1);
    EXPECT_EQ(reports, 1);
}

}  // namespace
}  // namespace tv
