#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace tv {

class DialogUnits;

// Hears the keys of a KeyGrid. The grid knows nothing of what a key does.
class KeyGridHandler {
public:
    virtual ~KeyGridHandler() = default;
    // A key button was clicked; `code` is the key's code (see core/keyboard/KeyCodes.h).
    virtual void keyClicked(int code) = 0;
};

// The 59 key buttons of the keyboard window, laid out like a computer keyboard, and the
// "Shift" label. Each button is named by its key code and shows the key's caption for the
// current Shift state.
class KeyGrid : public QWidget {
    Q_OBJECT
public:
    // Covers the window's area below the command buttons; `units` are the window's.
    KeyGrid(const DialogUnits& units, KeyGridHandler& handler, QWidget* window);

    // The button of a key code; null for a code without a key.
    QPushButton* button(int code) const;
    QLabel* shiftLabel() const { return shiftLabel_; }

    // Captions for Shift up or held, and the label normal while held, greyed while up.
    void setShifted(bool shifted);
    // What the key's button shows now ("a", "A", "&", "F5"; empty for the space bar).
    QString caption(int code) const;
    // Gives the key's button the pressed look and the focus, as a mouse press would; false
    // when the code has no button.
    bool showPressed(int code);
    // The pressed look of every key goes.
    void showReleased();

    // The window area the grid covers, in dialog units: everything below the command buttons.
    static constexpr int top = 40;

private:
    KeyGridHandler& handler_;
    std::array<QPushButton*, 256> buttons_{};
    QLabel* shiftLabel_ = nullptr;
    bool shifted_ = false;
};

}  // namespace tv
