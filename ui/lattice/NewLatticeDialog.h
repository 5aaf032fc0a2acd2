#pragma once

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tv {

// Asks whether to start a new lattice. It offers a limit, a layout style and display choices,
// but hands none of them back: OK always means "the default scale in the style in force".
class NewLatticeDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QPushButton* okButton = nullptr;
        QPushButton* cancelButton = nullptr;
        QLabel* limitLabel = nullptr;
        QLineEdit* limitEdit = nullptr;
        QGroupBox* styleFrame = nullptr;
        QRadioButton* velmorButton = nullptr;
        QRadioButton* chalmersButton = nullptr;
        QRadioButton* wilsonButton = nullptr;
        QRadioButton* fokkerButton = nullptr;
        QGroupBox* showFrame = nullptr;
        QCheckBox* ratiosBox = nullptr;
        QCheckBox* exponentsBox = nullptr;
        QCheckBox* linesBox = nullptr;
        QCheckBox* circlesBox = nullptr;
        QRadioButton* planetaryButton = nullptr;
    };

    explicit NewLatticeDialog(QWidget* parent = nullptr);

    const Controls& controls() const { return controls_; }
    QPushButton* okButton() const { return controls_.okButton; }
    QPushButton* cancelButton() const { return controls_.cancelButton; }
    QLineEdit* limitEdit() const { return controls_.limitEdit; }
    // By style number, across the row: Velmor, Planetary, Chalmers, Wilson, Fokker.
    const std::array<QRadioButton*, 5>& styleButtons() const { return styleButtons_; }
    // Ratios, Exponents, Lines, Circles.
    const std::array<QCheckBox*, 4>& showBoxes() const { return showBoxes_; }
    QButtonGroup* styleGroup() const { return styleGroup_; }

private:
    Controls controls_;
    std::array<QRadioButton*, 5> styleButtons_;
    std::array<QCheckBox*, 4> showBoxes_;
    QButtonGroup* styleGroup_;
};

}  // namespace tv
