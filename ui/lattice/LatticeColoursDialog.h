#pragma once

#include <QColor>
#include <QDialog>

#include <functional>

class QPushButton;

namespace tv {

// "Lattice colors": picks a background colour for one lattice window. The choice is kept until
// the dialog ends and applied only on OK.
class LatticeColoursDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QPushButton* backgroundButton = nullptr;
        QPushButton* okButton = nullptr;
        QPushButton* cancelButton = nullptr;
    };

    LatticeColoursDialog(std::function<QColor(QWidget*)> pickColour, QWidget* parent);

    const Controls& controls() const { return controls_; }

    // Invalid until a colour was taken in the picker.
    QColor chosenBackground() const { return chosen_; }
    void pickBackground();

private:
    std::function<QColor(QWidget*)> pickColour_;
    QColor chosen_;
    Controls controls_;
};

}  // namespace tv
