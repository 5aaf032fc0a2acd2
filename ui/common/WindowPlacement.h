#pragma once

#include <QString>

class QWidget;

namespace tv {

class MessageService;
class SettingsStore;

// Value names under which windows of each kind keep the rectangle of the one closed last.
inline const QString mainWindowPlacement = QStringLiteral("MainWindow");
inline const QString keyboardWindowPlacement = QStringLiteral("KeyboardWindow");

// Stores the window's outer rectangle as "left top right bottom" in screen pixels.
void savePlacement(const QWidget& window, SettingsStore& settings, const QString& valueName);

// Moves and sizes the window to its stored rectangle, raises and shows it. Nothing happens
// without a stored value; a value without four numbers gives "Error reading from registry!".
// A rectangle that lies wholly off every screen (an unplugged monitor) is moved onto the
// primary screen; every other rectangle is used as stored.
void restorePlacement(QWidget& window, SettingsStore& settings, MessageService& messages,
                      const QString& valueName);

}  // namespace tv
