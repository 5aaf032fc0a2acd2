// The list of windows that hear clicked pitches.

#include "ui/common/ElementListener.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tv {
namespace {

using Log = std::vector<std::string>;

// Writes what it hears into a shared log, tagged with its name, then does `then` (if set).
struct LoggingListener : ElementListener {
    LoggingListener(std::string tag, Log& log) : tag(std::move(tag)), log(log) {}
    void onRatioChosen(std::uint32_t n, std::uint32_t d) override
    {
        log.push_back(tag + ":" + std::to_string(n) + "/" + std::to_string(d));
        if (then)
            then();
    }
    void onCentsChosen(double cents) override
    {
        log.push_back(tag + ":" + std::to_string(static_cast<int>(cents)) + "c");
        if (then)
            then();
    }
    std::string tag;
    Log& log;
    std::function<void()> then;
};

struct ElementListenersTest : ::testing::Test {
    Log log;
    ElementListeners list;
    LoggingListener a{"a", log}, b{"b", log}, c{"c", log};

    Log heardRatio(std::uint32_t n, std::uint32_t d)
    {
        log.clear();
        list.broadcastRatio(n, d);
        return log;
    }
};

TEST_F(ElementListenersTest, NewestHearsFirstAndRegisteringAgainMovesToTheHead)
{
    list.registerListener(&a);
    list.registerListener(&b);
    list.registerListener(&c);
    EXPECT_EQ(heardRatio(3, 2), (Log{"c:3/2", "b:3/2", "a:3/2"}));
    log.clear();
    list.broadcastCents(-50.0);
    EXPECT_EQ(log, (Log{"c:-50c", "b:-50c", "a:-50c"}));

    list.registerListener(&a);
    list.registerListener(nullptr);
    EXPECT_EQ(list.all(), (std::vector<ElementListener*>{&a, &c, &b}));
    EXPECT_EQ(heardRatio(5, 4), (Log{"a:5/4", "c:5/4", "b:5/4"}));
}

TEST_F(ElementListenersTest, UnregisterRemovesOnlyThatOne)
{
    LoggingListener stranger("stranger", log);
    list.registerListener(&a);
    list.registerListener(&b);
    list.registerListener(&c);
    list.unregisterListener(&b);
    list.unregisterListener(&b);         // not in the list any more: nothing happens
    list.unregisterListener(&stranger);  // never registered
    list.unregisterListener(nullptr);
    EXPECT_EQ(heardRatio(7, 4), (Log{"c:7/4", "a:7/4"}));
    EXPECT_FALSE(b.isRegistered());
    EXPECT_TRUE(a.isRegistered());
}

TEST_F(ElementListenersTest, DestroyedListenerRemovesItselfAndNothingElse)
{
    list.registerListener(&a);
    {
        LoggingListener gone("gone", log);
        list.registerListener(&gone);
        list.registerListener(&b);
    }
    EXPECT_EQ(list.all(), (std::vector<ElementListener*>{&b, &a}));
    EXPECT_EQ(heardRatio(7, 4), (Log{"b:7/4", "a:7/4"}));
}

TEST_F(ElementListenersTest, ListenersLeavingDuringABroadcast)
{
    // c closes itself when told, as a window closing in response to a click would; the one
    // after it still hears. Then b, when told, closes a, which has not been told yet.
    list.registerListener(&a);
    list.registerListener(&b);
    list.registerListener(&c);
    c.then = [this] { list.unregisterListener(&c); };
    EXPECT_EQ(heardRatio(9, 8), (Log{"c:9/8", "b:9/8", "a:9/8"}));
    EXPECT_EQ(heardRatio(9, 8), (Log{"b:9/8", "a:9/8"}));

    b.then = [this] { list.unregisterListener(&a); };
    EXPECT_EQ(heardRatio(9, 8), (Log{"b:9/8"}));
    log.clear();
    list.broadcastCents(100.0);
    EXPECT_EQ(log, (Log{"b:100c"}));
}

TEST(ElementListeners, ListenerOutlivingItsListIsFreeAndCanJoinAnother)
{
    Log log;
    LoggingListener late("late", log);
    {
        ElementListeners gone;
        gone.registerListener(&late);
        ASSERT_TRUE(late.isRegistered());
    }
    // The list that went must have let go of the listener, or its destructor would reach
    // into freed memory.
    EXPECT_FALSE(late.isRegistered());

    ElementListeners first, second;
    first.registerListener(&late);
    second.registerListener(&late);  // a listener is in one list at a time
    EXPECT_TRUE(first.all().empty());
    second.broadcastRatio(3, 2);
    EXPECT_EQ(log, (Log{"late:3/2"}));
}

}  // namespace
}  // namespace tv
