#pragma once

#include <QIcon>

namespace tv {

// The pictures of the toolbox buttons, drawn in code so they scale cleanly.
QIcon latticeIcon();
QIcon keyboardIcon();
QIcon helpIcon();

}  // namespace tv
