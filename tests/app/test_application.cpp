#include "app/Application.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

// Writes what it hears into a shared log, tagged with its name.
struct LoggingListener : ElementListener {
    LoggingListener(std::string tag, std::vector<std::string>& log) : tag(std::move(tag)), log(log)
    {
    }
    void onRatioChosen(std::uint32_t n, std::uint32_t d) override
    {
        log.push_back(tag + ":" + std::to_string(n) + "/" + std::to_string(d));
    }
    void onCentsChosen(double cents) override
    {
        log.push_back(tag + ":" + std::to_string(static_cast<int>(cents)) + "c");
    }
    std::string tag;
    std::vector<std::string>& log;
};

struct ApplicationTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    Application application{messages, *settings};
    std::vector<std::string> log;
};

TEST_F(ApplicationTest, NewestListenerHearsFirstAndUnregisterRemovesOnlyThatOne)
{
    LoggingListener a("a", log), b("b", log), c("c", log);
    application.listeners().registerListener(&a);
    application.listeners().registerListener(&b);
    application.listeners().registerListener(&c);
    application.listeners().broadcastRatio(3, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"c:3/2", "b:3/2", "a:3/2"}));

    log.clear();
    application.listeners().unregisterListener(&b);
    application.listeners().unregisterListener(&b);  // not in the list any more: nothing happens
    application.listeners().broadcastCents(-50.0);
    EXPECT_EQ(log, (std::vector<std::string>{"c:-50c", "a:-50c"}));
}

TEST_F(ApplicationTest, DestroyedListenerRemovesItselfAndNothingElse)
{
    LoggingListener a("a", log);
    {
        LoggingListener gone("gone", log);
        application.listeners().registerListener(&gone);
        application.listeners().registerListener(&a);
    }
    ASSERT_EQ(application.listeners().all().size(), 1u);
    application.listeners().broadcastRatio(7, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"a:7/4"}));
}

TEST_F(ApplicationTest, RegisteringTwiceKeepsOneEntryAtTheHead)
{
    LoggingListener a("a", log), b("b", log);
    application.listeners().registerListener(&a);
    application.listeners().registerListener(&b);
    application.listeners().registerListener(&a);
    application.listeners().broadcastRatio(5, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"a:5/4", "b:5/4"}));
}

// A listener that closes itself when told, as a window closing in response to a click would.
struct SelfRemovingListener : ElementListener {
    explicit SelfRemovingListener(Application& app) : app(app) {}
    void onRatioChosen(std::uint32_t, std::uint32_t) override
    {
        ++heard;
        app.listeners().unregisterListener(this);
    }
    Application& app;
    int heard = 0;
};

TEST_F(ApplicationTest, ListenerLeavingDuringABroadcastDoesNotDisturbTheOthers)
{
    LoggingListener a("a", log);
    SelfRemovingListener leaving(application);
    application.listeners().registerListener(&a);
    application.listeners().registerListener(&leaving);
    application.listeners().broadcastRatio(9, 8);
    application.listeners().broadcastRatio(9, 8);
    EXPECT_EQ(leaving.heard, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"a:9/8", "a:9/8"}));
}

TEST_F(ApplicationTest, ListenerOutlivingTheApplicationIsSafe)
{
    auto listener = std::make_unique<LoggingListener>("late", log);
    {
        Application shortLived(messages, *settings);
        shortLived.listeners().registerListener(listener.get());
    }
    listener.reset();  // must not touch the application that is gone
    SUCCEED();
}

TEST_F(ApplicationTest, DeviceErrorIsShownOnceAndTheOutputStaysUsable)
{
    application.openMidi(nullptr, "No MIDI output device is available.");
    EXPECT_EQ(messages.texts, QStringList{"No MIDI output device is available."});
    EXPECT_TRUE(application.chordQueue().queueRatio(0, 0, 3, 2));
    application.chordQueue().sendQueued(0);
    application.closeMidi();
    application.closeMidi();
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(ApplicationTest, ClosingTheMidiOutputClosesTheDevice)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    application.openMidi(capture, "");
    EXPECT_TRUE(messages.texts.isEmpty());
    application.chordQueue().queueRatio(0, 0, 1, 1);
    application.chordQueue().sendQueued(0);
    EXPECT_EQ(capture->hex(), (std::vector<std::string>{"c0 00", "e0 00 40", "90 3c 5a"}));
    application.closeMidi();
    EXPECT_TRUE(capture->closed());
}

}  // namespace
}  // namespace tv
