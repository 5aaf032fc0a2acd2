#include "ui/common/WindowPlacement.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"
#include "ui/common/StoredPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tv {
namespace {

bool onSomeScreen(const QRect& rect)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(rect))
            return true;
    }
    return false;
}

// The frame the window system puts around a window: known once a window has been framed, so
// taken from the window itself or else from another window of the program already shown.
QMargins frameMargins(const QWidget& window)
{
    const auto margins = [](const QWidget& w) {
        const QRect outer = w.frameGeometry();
        const QRect inner = w.geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    };
    if (!margins(window).isNull())
        return margins(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->isVisible() && !margins(*other).isNull())
            return margins(*other);
    }
    return {};
}

// The available area of the screen that holds the most of `outer`, or of the primary one.
QRect availableAreaFor(const QRect& outer)
{
    QRect best;
    qint64 bestArea = -1;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(outer);
        const qint64 area = common.isEmpty() ? 0 : qint64{common.width()} * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen->availableGeometry();
        }
    }
    if (bestArea <= 0) {
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            best = primary->availableGeometry();
    }
    return best;
}

// Shrinks and moves the client rectangle `client` so that it and its frame lie within
// `area`; an empty area changes nothing.
QRect fitted(QRect client, const QMargins& frame, const QRect& area)
{
    if (area.isEmpty())
        return client;
    const QRect room = area.marginsRemoved(frame);
    client.setSize(client.size().boundedTo(room.size()).expandedTo(QSize(1, 1)));
    client.moveLeft(std::clamp(client.left(), room.left(), room.right() + 1 - client.width()));
    client.moveTop(std::clamp(client.top(), room.top(), room.bottom() + 1 - client.height()));
    return client;
}

}  // namespace

void savePlacement(const QWidget& window, SettingsStore& settings, const QString& valueName)
{
    // The frame's corner and the client's size: what a window can be given before the window
    // system has framed it, so a stored place comes back exactly.
    const QPoint corner = window.frameGeometry().topLeft();
    const QSize client = window.geometry().size();
    const StoredPlacement placement{corner.x(), corner.y(), corner.x() + client.width(),
                                    corner.y() + client.height()};
    settings.setValue(valueName, QString::fromStdString(placementText(placement)));
}

void restorePlacement(QWidget& window, SettingsStore& settings, MessageService& messages,
                      const QString& valueName)
{
    const QMargins frame = frameMargins(window);
    const auto text = settings.value(valueName);
    if (!text) {
        // The system places the window; it only has to fit on the screen.
        const QRect place = window.geometry();
        const QRect area = availableAreaFor(window.frameGeometry());
        window.resize(fitted(place, frame, area).size());
        return;
    }
    const QByteArray bytes = text->toLatin1();
    const auto stored = parsePlacement(std::string_view(bytes.constData(), bytes.size()));
    if (!stored) {
        messages.showMessage(QStringLiteral("Error reading from registry!"));
        return;
    }
    const QSize size = stored->hasUsableSize() ? QSize(static_cast<int>(stored->width()),
                                                       static_cast<int>(stored->height()))
                                               : window.geometry().size();
    // A rectangle whose far corner lies beyond the coordinates a screen can have is on none.
    constexpr std::int64_t farthest = std::numeric_limits<int>::max();
    const bool representable = std::int64_t{stored->left} + size.width() <= farthest &&
                               std::int64_t{stored->top} + size.height() <= farthest;
    QRect client(representable ? QPoint(stored->left, stored->top) : QPoint(0, 0), size);
    client.translate(frame.left(), frame.top());
    QRect area = availableAreaFor(client.marginsAdded(frame));
    if (!representable || !onSomeScreen(client.marginsAdded(frame))) {
        // An unplugged monitor: the primary screen's top-left corner.
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            area = primary->availableGeometry();
        client.moveTopLeft(area.topLeft() + QPoint(frame.left(), frame.top()));
    }
    client = fitted(client, frame, area);
    // A window's position is that of its frame's corner, its size that of its client area.
    window.move(client.topLeft() - QPoint(frame.left(), frame.top()));
    window.resize(client.size());
    window.show();
    window.raise();
}

}  // namespace tv
