#pragma once

#include <QDialog>

class QPushButton;

namespace tv {

class AppServices;

// The program's main window: three picture buttons that open lattice windows, keyboard
// windows and the help page. Closing it (close box or Escape) ends the program; the windows
// it opened are its children and go with it.
class ToolboxDialog : public QDialog {
    Q_OBJECT
public:
    explicit ToolboxDialog(AppServices& services, QWidget* parent = nullptr);

    QPushButton* latticeButton() const { return latticeButton_; }
    QPushButton* keyboardButton() const { return keyboardButton_; }
    QPushButton* helpButton() const { return helpButton_; }

    // Moves the toolbox to the top-left corner of the screen, shows and raises it.
    void showAtCorner();

private:
    void openLattice();

    AppServices& services_;
    QPushButton* latticeButton_;
    QPushButton* keyboardButton_;
    QPushButton* helpButton_;
};

}  // namespace tv
