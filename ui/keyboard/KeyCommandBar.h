#pragma once

#include <QString>

#include <functional>

class QButtonGroup;
class QPushButton;
class QWidget;

namespace tv {

class DialogUnits;

enum class KeyCommand { Open, SaveKeyboard, SaveRecording, Edit, Play, Rewind, Record };

// The seven picture buttons above the keys. The first five form one group of which exactly one
// shows pressed: the keys edit their scripts while it is Edit and play otherwise. Rewind and
// Record are toggles for the recording.
class KeyCommandBar {
public:
    // One field per button, in the order of the bar.
    struct Controls {
        QPushButton* openButton = nullptr;
        QPushButton* saveKeyboardButton = nullptr;
        QPushButton* saveRecordingButton = nullptr;
        QPushButton* editButton = nullptr;
        QPushButton* playButton = nullptr;
        QPushButton* rewindButton = nullptr;
        QPushButton* recordButton = nullptr;
    };

    // Makes the buttons on `window`; each click is handed to `run`. Edit starts pressed,
    // Rewind and Record disabled.
    KeyCommandBar(QWidget& window, const DialogUnits& units, std::function<void(KeyCommand)> run);

    const Controls& controls() const { return controls_; }
    QPushButton* button(KeyCommand command) const;

    bool editPressed() const;
    // Shows one of the five mode buttons pressed and the others released.
    void pressMode(KeyCommand command);
    // Rewind and Record usable or not; Record shows a red square while recording and a red
    // circle otherwise.
    void showRecording(bool usable, bool recording);

private:
    Controls controls_;
    QButtonGroup* modes_ = nullptr;
    bool recordShowsSquare_ = false;
};

}  // namespace tv
