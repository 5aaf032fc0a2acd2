#pragma once

#include <QString>

class QWidget;

namespace tv {

class MessageService;
class SettingsStore;

// Value names under which windows of each kind keep the rectangle of the one closed last.
inline const QString mainWindowPlacement = QStringLiteral("MainWindow");
inline const QString keyboardWindowPlacement = QStringLiteral("KeyboardWindow");

// Stores the window's place as "left top right bottom" in screen pixels: left and top are
// the corner of its frame, right and bottom add the size of its client area. Measured so, a
// place comes back exactly, whatever frame the window system puts around the window.
void savePlacement(const QWidget& window, SettingsStore& settings, const QString& valueName);

// Moves and sizes the window to its stored place, raises and shows it. A value without four
// numbers gives "Error reading from registry!" and changes nothing; without a stored value
// the window keeps its place. Either way the window, with its frame, is made to fit within
// the available area of its screen: a place wholly off every screen (an unplugged monitor)
// goes to the primary screen's corner, one partly off moves in, one too large shrinks.
void restorePlacement(QWidget& window, SettingsStore& settings, MessageService& messages,
                      const QString& valueName);

}  // namespace tv
