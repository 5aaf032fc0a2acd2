#pragma once

#include <QIcon>

#include <functional>

class QPainter;

namespace tv {

// A picture drawn on a 32 x 32 design grid, made at the sizes buttons and title bars ask for.
QIcon drawnIcon(const std::function<void(QPainter&)>& draw);

// The pictures of the toolbox buttons, drawn in code so they scale cleanly.
QIcon latticeIcon();
QIcon keyboardIcon();
QIcon helpIcon();

}  // namespace tv
