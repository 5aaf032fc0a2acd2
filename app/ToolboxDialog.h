#pragma once

#include <QDialog>
#include <QPointer>

class QPushButton;

namespace tv {

class AppServices;
class UserGuideWindow;

// The program's main window: three picture buttons that open lattice windows, keyboard
// windows and the help page. F1 anywhere in the program opens the user guide. Closing it (close box
// or Escape) ends the program; the windows it opened are its children and are closed first, so that
// each may ask to save its work. When one of them stays open, so does the toolbox.
class ToolboxDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QPushButton* latticeButton = nullptr;
        QPushButton* keyboardButton = nullptr;
        QPushButton* helpButton = nullptr;
    };

    explicit ToolboxDialog(AppServices& services, QWidget* parent = nullptr);

    const Controls& controls() const { return controls_; }
    QPushButton* latticeButton() const { return controls_.latticeButton; }
    QPushButton* keyboardButton() const { return controls_.keyboardButton; }
    QPushButton* helpButton() const { return controls_.helpButton; }

    // Moves the toolbox to the top-left corner of the screen, shows and raises it.
    void showAtCorner();

    void done(int result) override;

    // Opens a file named on the command line: a scale file (.scl) in a new lattice window, a
    // keyboard file (.tvk) in a new keyboard window; anything else is refused with a message.
    void openFile(const QString& path);

    // The About dialog; when it is closed with "User guide", the guide.
    void openHelp();
    // The user guide window, made or brought to the front.
    void openUserGuide();
    UserGuideWindow* userGuide() const;

private:
    void openLattice();
    void openKeyboard();

    AppServices& services_;
    Controls controls_;
    QPointer<UserGuideWindow> guide_;
};

}  // namespace tv
