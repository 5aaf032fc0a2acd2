// Saved window placement, through the services every window is given.

#include "support/QtPrinters.h"
#include "support/TestAppServices.h"
#include "ui/common/StoredPlacement.h"
#include "ui/common/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <iterator>

namespace tv::test {
namespace {

const QRect defaultPlace(11, 12, 300, 200);
const QString registryError = QStringLiteral("Error reading from registry!");

struct WindowPlacementTest : ::testing::Test {
    TestAppServices services;
    QWidget window;
    QStringList& messages = services.messageService.texts;

    WindowPlacementTest() { window.setGeometry(defaultPlace); }
    void store(const QString& text) { services.settings().setValue(mainWindowPlacement, text); }
    void restore() { services.restorePlacement(window, mainWindowPlacement); }
};

TEST_F(WindowPlacementTest, StoredRectangleIsUsedAsItIsAndSavedBackAlike)
{
    struct Case {
        const char* stored;
        QRect outer;
        const char* saved;
    };
    // Stored and restored: the frame's corner and the client's size.
    const auto outer = [this] {
        return QRect(window.frameGeometry().topLeft(), window.geometry().size());
    };
    const Case cases[] = {
        {"0 0 100 50", {0, 0, 100, 50}, "0 0 100 50"},
        {"10 20 650 500", {10, 20, 640, 480}, "10 20 650 500"},
        // Read as "%d %d %d %d" reads: any white space, a plus sign, whatever follows.
        {"  5\t+6\n105 56 and more", {5, 6, 100, 50}, "5 6 105 56"},
    };
    for (const auto& c : cases) {
        store(c.stored);
        restore();
        EXPECT_EQ(outer(), c.outer) << c.stored;
        EXPECT_TRUE(window.isVisible());
        // Restoring the same value again does not let the window grow by its frame.
        restore();
        EXPECT_EQ(outer(), c.outer) << c.stored;
        services.savePlacement(window, keyboardWindowPlacement);
        EXPECT_EQ(services.settings().value(keyboardWindowPlacement), QString(c.saved));
    }
    EXPECT_TRUE(messages.isEmpty());
    // Each kind of window keeps its own value.
    EXPECT_EQ(services.settings().value(mainWindowPlacement),
              QString(cases[std::size(cases) - 1].stored));
}

TEST_F(WindowPlacementTest, APlaceComesBackAsStoredTenTimesOverAndOntoTheAvailableArea)
{
    store("30 40 430 340");
    for (int round = 0; round < 10; ++round) {
        QWidget reopened;
        services.restorePlacement(reopened, mainWindowPlacement);
        QTest::qWait(50);  // a window manager frames the window after it is shown
        services.savePlacement(reopened, mainWindowPlacement);
        EXPECT_EQ(services.settings().value(mainWindowPlacement), "30 40 430 340") << round;
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* stored : {"-50 -20 350 280", "700 500 1100 800", "0 0 9000 9000"}) {
        store(stored);
        restore();
        EXPECT_TRUE(screen.contains(window.frameGeometry())) << stored;
    }
}

TEST_F(WindowPlacementTest, FirstRunKeepsTheDefaultPlaceSilently)
{
    restore();
    EXPECT_EQ(window.geometry(), defaultPlace);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowPlacementTest, FewerThanFourNumbersGiveTheMessageAndTheDefaultPlace)
{
    for (const char* stored : {"10 20 650", "ten 20 650 500", "10 20 650 x500", "1.5 2 3 4", ""}) {
        messages.clear();
        store(stored);
        restore();
        EXPECT_EQ(messages, QStringList{registryError}) << stored;
        EXPECT_EQ(window.geometry(), defaultPlace) << stored;
        EXPECT_FALSE(window.isVisible()) << stored;
    }
}

TEST_F(WindowPlacementTest, RectangleOffEveryScreenComesBackToThePrimaryScreen)
{
    store("-30000 -30000 -29600 -29700");
    restore();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(window.frameGeometry()));
    EXPECT_EQ(window.geometry().size(), QSize(400, 300));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowPlacementTest, SidesBeyondAnIntKeepTheWindowsSizeAndComeToTheScreen)
{
    store("0 0 100 50");
    restore();
    // Right minus left beyond an int; the window's own size added to the top beyond one.
    for (const char* stored :
         {"-2147483648 -2147483648 2147483647 2147483647", "0 2147483647 100 2147483647"}) {
        store(stored);
        restore();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.intersects(window.frameGeometry())) << stored;
        EXPECT_EQ(window.geometry().size(), QSize(100, 50)) << stored;
        EXPECT_TRUE(messages.isEmpty()) << stored;
    }
}

// The stored text as the placement reader takes it, without a window: any bytes give four
// numbers or nothing.
TEST(StoredPlacementText, ReadsFourIntegersOrNothing)
{
    struct Case {
        std::string text;
        std::optional<StoredPlacement> placement;
    };
    const Case cases[] = {
        {"0 0 100 50", StoredPlacement{0, 0, 100, 50}},
        {"  5\t+6\n105 56 and more", StoredPlacement{5, 6, 105, 56}},
        {"-1 -2 -3 -4", StoredPlacement{-1, -2, -3, -4}},
        {"2147483647 -2147483648 0 0", StoredPlacement{2147483647, -2147483648, 0, 0}},
        {"1 2 3 4 5", StoredPlacement{1, 2, 3, 4}},
        {"2147483648 0 0 0", std::nullopt},
        {"0 0 0 -2147483649", std::nullopt},
        {"10 20 650", std::nullopt},
        {"1.5 2 3 4", std::nullopt},
        {"++5 1 2 3", std::nullopt},
        {"0x10 1 2 3", std::nullopt},
        {"", std::nullopt},
        {std::string("\0 1 2 3 4", 9), std::nullopt},
        {"1 2 3 \xff", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parsePlacement(c.text), c.placement) << c.text;

    const StoredPlacement wide{-2147483648, 0, 2147483647, 1};
    EXPECT_EQ(wide.width(), 4294967295);
    EXPECT_FALSE(wide.hasUsableSize());
    EXPECT_TRUE((StoredPlacement{-1, -1, 2147483646, 0}).hasUsableSize());
    EXPECT_FALSE((StoredPlacement{-2, 0, 2147483646, 1}).hasUsableSize());
    EXPECT_FALSE((StoredPlacement{5, 0, 5, 1}).hasUsableSize());
    EXPECT_EQ(placementText({-5, 0, 2147483647, -2147483648}), "-5 0 2147483647 -2147483648");
}

}  // namespace
}  // namespace tv::test
