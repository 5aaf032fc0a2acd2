#pragma once

#include <QString>

namespace tv {

class KeyboardWindow;
class LatticeWindow;

// Files named on the command line, as a desktop opens a double-clicked file with the program:
// each opens as File > Open would open it, without asking for the path. Messages about a
// file that cannot be read are those of the window's own Open.
void openScaleInto(LatticeWindow& window, const QString& path);
void openKeyboardInto(KeyboardWindow& window, const QString& path);

}  // namespace tv
