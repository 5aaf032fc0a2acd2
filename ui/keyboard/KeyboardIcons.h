#pragma once

#include <QIcon>

namespace tv {

// The pictures of the keyboard window's command buttons.
QIcon openKeyboardIcon();          // an opening folder
QIcon saveKeyboardIcon();          // a floppy disk
QIcon saveRecordingIcon();         // a cassette tape
QIcon editModeIcon();              // a pencil on a note pad
QIcon playModeIcon();              // a loudspeaker with a note
QIcon rewindIcon();                // a left-pointing triangle
QIcon recordIcon(bool recording);  // a red circle; a red square while recording

}  // namespace tv
