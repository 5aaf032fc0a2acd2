// Times one full paint of lattices of 1,000, 10,000 and 65,535 elements on an offscreen
// 1024 x 768 surface, the paint of 10,000 elements with lines between neighbours at 100 % and
// 400 %, the time from a pointer resting on an element to its readout text, and the time from
// a mouse press on an element to the last MIDI byte handed to the output service.
#include "app/Application.h"
#include "bench/BenchTiming.h"
#include "core/lattice/Lattice.h"
#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"
#include "ui/lattice/LatticeGeometry.h"
#include "ui/lattice/LatticePainter.h"
#include "ui/lattice/LatticeView.h"
#include "ui/lattice/LatticeWindow.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using tv::bench::median;

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Ratios 3^a 5^b 7^c 11^d 13^e over powers of two, spread over a block of the lattice.
void fill(tv::Lattice& lattice, int count)
{
    lattice.clear();
    lattice.setAutoNormalise(false);
    int made = 0;
    for (int e = 0; made < count; ++e) {
        for (int a = -6; a <= 6 && made < count; ++a) {
            for (int b = -3; b <= 3 && made < count; ++b) {
                for (int c = -2; c <= 2 && made < count; ++c) {
                    for (int d = -1; d <= 1 && made < count; ++d) {
                        const int exps[] = {a, b, c, d, e % 3 - 1};
                        const unsigned primes[] = {3, 5, 7, 11, 13};
                        unsigned long long n = 1, q = 1;
                        for (int i = 0; i < 5; ++i)
                            for (int k = 0; k < std::abs(exps[i]); ++k)
                                (exps[i] > 0 ? n : q) *= primes[i];
                        while (n > 0xFFFFFFFFull || q > 0xFFFFFFFFull) {
                            n = (n + 1) / 2;
                            q = (q + 1) / 2;
                        }
                        lattice.addRatio("", static_cast<std::uint32_t>(n),
                                         static_cast<std::uint32_t>(q));
                        ++made;
                    }
                }
            }
        }
    }
    lattice.setAutoNormalise(true);
    lattice.normalise();
}

struct StampingService : tv::MidiService {
    std::mutex mutex;
    Clock::time_point last;
    int messages = 0;
    void send(std::uint32_t) override
    {
        std::lock_guard lock(mutex);
        last = Clock::now();
        ++messages;
    }
    void sendBytes(std::span<const std::uint8_t>) override { send(0); }
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::printf("Full paint on a 1024 x 768 image (median of runs):\n");
    tv::LatticePainter painter(96.0);
    QImage image(1024, 768, QImage::Format_RGB32);
    for (const int count : {1000, 10000, 65535}) {
        tv::Lattice lattice;
        fill(lattice, count);
        for (int i = 0; i < count; i += 7)
            lattice.setSelected(i, true);
        std::vector<double> times;
        for (int run = 0; run < (count > 20000 ? 7 : 15); ++run) {
            QPainter p(&image);
            const auto start = Clock::now();
            painter.drawLattice(p,
                                tv::LatticeGeometry(lattice, QSize(1024, 768), painter.metrics()),
                                tv::LatticeDrawOptions{});
            p.end();
            times.push_back(milliseconds(Clock::now() - start));
        }
        std::printf("  %6d elements: %8.2f ms (fastest %.2f ms)\n", count, median(times),
                    *std::min_element(times.begin(), times.end()));
    }

    std::printf("10,000 elements with lines between neighbours (median of 15 runs):\n");
    {
        tv::Lattice lattice;
        fill(lattice, 10000);
        tv::LatticeDrawOptions options;
        options.showLines = true;
        // What a 1024 x 768 window shows: at 400 % a part of the picture, in its middle.
        for (const int percent : {100, 400}) {
            painter.setZoom(percent / 100.0);
            const tv::LatticeGeometry geometry(lattice, QSize(1024, 768), painter.metrics());
            const std::size_t lines = tv::LatticePainter::neighbourLines(geometry, options).size();
            const QPoint scrolled =
                percent == 100 ? QPoint() : QPoint(1024, 768) * (percent / 100.0 - 1) / 2;
            tv::LatticeDrawOptions shown = options;
            shown.area = QRect(scrolled, QSize(1024, 768));
            std::vector<double> times;
            for (int run = 0; run < 15; ++run) {
                QPainter p(&image);
                const auto start = Clock::now();
                p.translate(-scrolled);
                painter.drawLattice(p, geometry, shown);
                p.end();
                times.push_back(milliseconds(Clock::now() - start));
            }
            std::printf("  %3d %%: %8.2f ms (fastest %.2f ms, %zu lines)\n", percent, median(times),
                        *std::min_element(times.begin(), times.end()), lines);
        }
        painter.setZoom(1.0);
        // A repaint finds the pairs of an unchanged lattice already worked out; after a change
        // they are worked out again, as here.
        const tv::LatticeGeometry geometry(lattice, QSize(1024, 768), painter.metrics());
        std::vector<double> times;
        for (int run = 0; run < 15; ++run) {
            const auto start = Clock::now();
            const auto lines = tv::LatticePainter::neighbourLines(geometry, options);
            times.push_back(milliseconds(Clock::now() - start));
        }
        std::printf("  finding the lines anew after a change: %.2f ms more\n", median(times));
    }

    QTemporaryDir dir;
    tv::DialogMessageService messages;
    auto settings = tv::SettingsStore::fileStore(dir.filePath("s.ini"));
    tv::Application app(messages, *settings);
    auto service = std::make_shared<StampingService>();
    app.openMidi(service, "");
    std::printf("Pointer resting on an element to its readout text (median, worst of 200):\n");
    {
        auto* window = new tv::LatticeWindow(app);
        window->resize(1024, 768);
        fill(window->lattice(), 10000);
        std::vector<double> times;
        std::size_t length = 0;
        for (int run = 0; run < 200; ++run) {
            // The last elements: a hit test walks every label before them.
            const int index = window->lattice().count() - 1 - run;
            const QPoint at = window->labelGeometry().labelAt(index) + QPoint(1, 1);
            const auto start = Clock::now();
            const QString text = window->readoutAt(at);
            times.push_back(milliseconds(Clock::now() - start));
            length += static_cast<std::size_t>(text.size());
        }
        std::printf("  %6d elements: %.4f ms (worst %.4f ms, %zu characters in all)\n",
                    window->lattice().count(), median(times),
                    *std::max_element(times.begin(), times.end()), length);
        delete window;
    }
    std::printf("Mouse press on an element to the last MIDI byte (median, worst of 200):\n");
    for (const int count : {12, 10000}) {
        auto* window = new tv::LatticeWindow(app);
        window->resize(1024, 768);
        window->show();
        QApplication::processEvents();
        if (count == 12)
            window->lattice().loadDefaultScale();
        else
            fill(window->lattice(), count);
        window->view()->invalidatePicture();
        window->view()->repaint();
        // A point whose element sounds (its note lies in the MIDI range).
        const tv::LatticeGeometry geometry = window->labelGeometry();
        const auto& l = window->lattice();
        int target = 0;
        for (; target < l.count(); ++target) {
            const int hit = geometry.hitTest(geometry.labelAt(target) + QPoint(2, 2));
            const auto pitch = tv::noteForRatio(app.midiOutput().baseNote(), 0, l.numerator(hit),
                                                l.denominator(hit));
            if (hit >= 0 && pitch.note >= 0 && pitch.note <= 127)
                break;
        }
        const QPointF at(geometry.labelAt(target) + QPoint(2, 2));
        std::vector<double> times;
        const int before = service->messages;
        for (int run = 0; run < 200; ++run) {
            QMouseEvent press(QEvent::MouseButtonPress, at, window->view()->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            const auto start = Clock::now();
            QApplication::sendEvent(window->view(), &press);
            times.push_back(milliseconds(service->last - start));
            QMouseEvent release(QEvent::MouseButtonRelease, at, window->view()->mapToGlobal(at),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window->view(), &release);
            QApplication::processEvents();
        }
        if (service->messages == before) {
            std::printf(
                "  the press did not reach an element (%d of %d, at %.0f,%.0f, view %dx%d)\n",
                target, window->lattice().count(), at.x(), at.y(), window->view()->width(),
                window->view()->height());
            return 1;
        }
        std::printf("  %6d elements: %.4f ms (worst %.4f ms)\n", window->lattice().count(),
                    median(times), *std::max_element(times.begin(), times.end()));
        delete window;
    }
    app.closeMidi();
    return 0;
}
