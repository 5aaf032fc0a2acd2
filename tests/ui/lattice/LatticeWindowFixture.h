#pragma once

#include "support/TestAppServices.h"
#include "ui/lattice/LatticeView.h"
#include "ui/lattice/LatticeWindow.h"

#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tv::test {

using Hex = std::vector<std::string>;

// A lattice window over a capture MIDI service and a temporary settings store.
struct LatticeWindowFixture : ::testing::Test {
    TestAppServices services;
    QTemporaryDir& dir = services.dir;
    SettingsStore* settings = &services.settings();
    RecordingMessageService& messages = services.messageService;
    std::shared_ptr<CaptureMidiService> capture = services.capture;

    // Windows delete themselves when closed; tests hold them through QPointer-like care.
    LatticeWindow* openWindow()
    {
        auto* window = new LatticeWindow(services);
        window->resize(900, 640);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    }

    // Paints the whole picture now, as a change of the lattice would at the next paint.
    static void paint(LatticeWindow* window)
    {
        window->view()->invalidatePicture();
        window->view()->repaint();
    }

    // A point inside the element's label box at the window's current size.
    static QPoint inside(const LatticeWindow* window, int index)
    {
        return window->labelGeometry().labelAt(index) + QPoint(2, 2);
    }

    static int indexOf(const Lattice& lattice, std::uint32_t n, std::uint32_t d)
    {
        for (int i = 0; i < lattice.count(); ++i) {
            if (lattice.numerator(i) == n && lattice.denominator(i) == d)
                return i;
        }
        return -1;
    }

    void press(LatticeWindow* window, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(window->view(), Qt::LeftButton, modifiers, at);
    }
    void release(LatticeWindow* window, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseRelease(window->view(), Qt::LeftButton, modifiers, QPoint(1, 1));
    }
};

}  // namespace tv::test
