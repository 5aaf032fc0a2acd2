#include "ui/common/WindowPlacement.h"

#include "platform/qt/MessageService.h"
#include "platform/qt/SettingsStore.h"
#include "ui/common/StoredPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

}  // namespace

void savePlacement(const QWidget& window, SettingsStore& settings, const QString& valueName)
{
    const QRect outer = window.frameGeometry();
    const StoredPlacement placement{outer.x(), outer.y(), outer.x() + outer.width(),
                                    outer.y() + outer.height()};
    settings.setValue(valueName, QString::fromStdString(placementText(placement)));
}

void restorePlacement(QWidget& window, SettingsStore& settings, MessageService& messages,
                      const QString& valueName)
{
    const auto text = settings.value(valueName);
    if (!text)
        return;
    const QByteArray bytes = text->toLatin1();
    const auto stored = parsePlacement(std::string_view(bytes.constData(), bytes.size()));
    if (!stored) {
        messages.showMessage(QStringLiteral("Error reading from registry!"));
        return;
    }
    const QSize size = stored->hasUsableSize() ? QSize(static_cast<int>(stored->width()),
                                                       static_cast<int>(stored->height()))
                                               : window.frameGeometry().size();
    // A rectangle whose far corner lies beyond the coordinates a screen can have is on none.
    constexpr std::int64_t farthest = std::numeric_limits<int>::max();
    const bool representable = std::int64_t{stored->left} + size.width() <= farthest &&
                               std::int64_t{stored->top} + size.height() <= farthest;
    QRect outer(representable ? QPoint(stored->left, stored->top) : QPoint(0, 0), size);

    if (!representable || !onSomeScreen(outer)) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect available = primary->availableGeometry();
            outer.setSize(size.boundedTo(available.size()));
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
