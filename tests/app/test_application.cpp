#include "app/Application.h"
#include "core/script/ScriptCompiler.h"
#include "platform/qt/SettingsStore.h"
#include "support/CaptureMidiService.h"
#include "support/RecordingMessageService.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tv {
namespace {

using namespace std::chrono_literals;
using Hex = std::vector<std::string>;

struct ApplicationTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings = SettingsStore::fileStore(dir.filePath("s.ini"));
    test::RecordingMessageService messages;
    Application application{messages, *settings};
};

TEST_F(ApplicationTest, DeviceErrorIsShownOnceAndTheOutputStaysUsable)
{
    application.openMidi(nullptr, "No MIDI output device is available.");
    EXPECT_EQ(messages.texts, QStringList{"No MIDI output device is available."});
    EXPECT_TRUE(application.chord().add(ExactPitch::ratio(3, 2)));
    application.chord().play(0);
    application.closeMidi();
    application.closeMidi();
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(ApplicationTest, ClosingTheMidiOutputEndsWhatSoundsAndClosesTheDevice)
{
    auto capture = std::make_shared<test::CaptureMidiService>();
    application.openMidi(capture, "");
    EXPECT_TRUE(messages.texts.isEmpty());
    application.chord().add(ExactPitch::ratio(1, 1));
    application.chord().play(0);
    const Hex sounding{"c0 00", "e0 00 40", "90 3c 5a"};
    ASSERT_EQ(capture->hex(), sounding);

    application.closeMidi();
    EXPECT_TRUE(capture->closed());
    Hex ended = sounding;
    ended.push_back("80 3c 00");
    EXPECT_EQ(capture->hex(), ended) << "closing ends the sounding note, and nothing else";
    // Late callers find a silent output, never the closed device.
    EXPECT_TRUE(application.chord().add(ExactPitch::ratio(3, 2)));
    application.chord().play(0);
    application.chord().release();
    EXPECT_EQ(capture->hex(), ended);
    EXPECT_EQ(capture.use_count(), 1) << "something still holds the closed device";
}

// Notes, when the device is first closed, how many players still ran and how much had come.
class ClosingCapture : public test::CaptureMidiService {
public:
    void close() override
    {
        if (!runningAtClose) {
            runningAtClose = players ? players->running() : 0;
            sentAtClose = messages().size();
        }
        CaptureMidiService::close();
    }
    const ScriptPlayers* players = nullptr;
    std::optional<std::size_t> runningAtClose;
    std::size_t sentAtClose = 0;
};

TEST_F(ApplicationTest, PlayersEndBeforeTheDeviceClosesAtCloseAndAtTheEnd)
{
    // Each player sounds its first chord, then sleeps in a ten-minute one.
    const auto code = compileScript("PLAY 1/1 10 ms PLAY 3/2 600 SEC PLAY 5/4").code;
    constexpr std::size_t players = 6;
    for (const bool atTheEnd : {false, true}) {
        SCOPED_TRACE(atTheEnd ? "the application ends" : "closeMidi");
        auto app = std::make_unique<Application>(messages, *settings);
        auto capture = std::make_shared<ClosingCapture>();
        app->openMidi(capture, "");
        capture->players = &app->players();
        for (std::size_t i = 0; i < players; ++i)
            ASSERT_TRUE(app->players().start(code));

        const auto fifthsSounding = [&] {
            const Hex hex = capture->hex();
            return static_cast<std::size_t>(std::count(hex.begin(), hex.end(), "90 43 60"));
        };
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (fifthsSounding() < players && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        ASSERT_EQ(fifthsSounding(), players);
        ASSERT_EQ(app->players().running(), players);
        const std::size_t sentBeforeClose = capture->messages().size();

        if (atTheEnd)
            app.reset();
        else
            app->closeMidi();
        ASSERT_TRUE(capture->closed());
        EXPECT_EQ(capture->runningAtClose, 0u) << "players still ran when the device closed";
        // Between the stop and the close each player ends the fifth it started (the later
        // chords cut the earlier ones' already), the device's own closing finds nothing left,
        // and nothing comes after.
        const Hex hex = capture->hex();
        ASSERT_EQ(capture->sentAtClose, sentBeforeClose + players);
        for (std::size_t i = sentBeforeClose; i < capture->sentAtClose; ++i)
            EXPECT_EQ(hex[i], "80 43 00") << i;
        EXPECT_EQ(capture->messages().size(), capture->sentAtClose) << "sent after the close";
        EXPECT_EQ(capture.use_count(), 1) << "a player thread still holds the device";
        if (app) {
            EXPECT_EQ(app->players().running(), 0u);
        }
    }
}

}  // namespace
}  // namespace tv
