// Times a key press on a keyboard window in Play mode, from the key event handed to the
// window to the first MIDI byte handed to the output service (the player's first message),
// for 1,000 presses. Goal: a median under 0.2 ms.
#include "app/Application.h"
#include "core/keyboard/KeyCodes.h"
#include "core/script/ScriptCompiler.h"
#include "core/script/ScriptPlayers.h"
#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"
#include "ui/keyboard/KeyboardWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Keeps the time of the first message after each arm().
struct FirstByteService : tv::MidiService {
    std::atomic<bool> armed{false};
    std::atomic<Clock::rep> first{0};
    void arm()
    {
        first.store(0);
        armed.store(true);
    }
    void send(std::uint32_t) override
    {
        if (armed.exchange(false))
            first.store(Clock::now().time_since_epoch().count());
    }
    void sendBytes(std::span<const std::uint8_t>) override { send(0); }
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    tv::DialogMessageService messages;
    auto settings = tv::SettingsStore::fileStore(dir.filePath("s.ini"));
    tv::Application app(messages, *settings);
    auto service = std::make_shared<FirstByteService>();
    app.openMidi(service, "");

    auto* window = new tv::KeyboardWindow(app);
    window->show();
    QApplication::processEvents();
    window->slotAt(tv::slotForKey('A'))->code = tv::compileScript("PLAY 1/1 3/2 5/4 1 ms").code;
    window->runCommand(tv::KeyCommand::Play);

    constexpr int presses = 1000;
    std::vector<double> times;
    times.reserve(presses);
    for (int run = 0; run < presses; ++run) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        service->arm();
        const auto start = Clock::now();
        QApplication::sendEvent(target, &press);
        while (service->first.load() == 0)
            std::this_thread::yield();
        const auto first = Clock::time_point(Clock::duration(service->first.load()));
        times.push_back(std::chrono::duration<double, std::milli>(first - start).count());
        QApplication::sendEvent(target, &release);
        app.players().waitAll();
        QApplication::processEvents();
    }
    std::printf("Key press to the first MIDI byte, %d presses: median %.4f ms, p90 %.4f ms, "
                "p99 %.4f ms, worst %.4f ms (goal: median under 0.2 ms)\n",
                presses, percentile(times, 0.5), percentile(times, 0.9), percentile(times, 0.99),
                *std::max_element(times.begin(), times.end()));
    delete window;
    app.closeMidi();
    return 0;
}
