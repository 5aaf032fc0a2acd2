#include "ui/common/WindowPlacement.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <charconv>

namespace tv {
namespace {

// Reads up to four signed decimal integers separated by white space, as "%d %d %d %d" does;
// gives how many were read before the first thing that is not one.
int readFourIntegers(const QByteArray& text, int (&values)[4])
{
    const char* position = text.constData();
    const char* end = position + text.size();
    int read = 0;
    while (read < 4) {
        while (position < end && (*position == ' ' || (*position >= '\t' && *position <= '\r')))
            ++position;
        if (position < end && *position == '+')
            ++position;
        const auto result = std::from_chars(position, end, values[read]);
        if (result.ec != std::errc())
            break;
        position = result.ptr;
        ++read;
    }
    return read;
}

bool onSomeScreen(const QRect& rect)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(rect))
            return true;
    }
    return false;
}

}  // namespace

void savePlacement(const QWidget& window, SettingsStore& settings, const QString& valueName)
{
    const QRect outer = window.frameGeometry();
    settings.setValue(valueName, QStringLiteral("%1 %2 %3 %4")
                                     .arg(outer.x())
                                     .arg(outer.y())
                                     .arg(outer.x() + outer.width())
                                     .arg(outer.y() + outer.height()));
}

void restorePlacement(QWidget& window, SettingsStore& settings, MessageService& messages,
                      const QString& valueName)
{
    const auto text = settings.value(valueName);
    if (!text)
        return;
    int values[4] = {};
    if (readFourIntegers(text->toLatin1(), values) < 4) {
        messages.showMessage(QStringLiteral("Error reading from registry!"));
        return;
    }
    QRect outer(QPoint(values[0], values[1]), QSize(values[2] - values[0], values[3] - values[1]));
    if (outer.width() <= 0 || outer.height() <= 0)
        outer.setSize(window.frameGeometry().size());

    if (!onSomeScreen(outer)) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect available = primary->availableGeometry();
            outer.setSize(outer.size().boundedTo(available.size()));
            outer.moveTopLeft(available.topLeft());
        }
    }
    // The stored size is the outer one; the frame is known once the window is shown.
    window.show();
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    window.move(outer.topLeft());
    window.resize(outer.size() - frame);
    window.raise();
}

}  // namespace tv
