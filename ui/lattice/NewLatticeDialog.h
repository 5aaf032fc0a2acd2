#pragma once

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tv {

// Asks whether to start a new lattice. It offers a limit, a layout style and display choices,
// but hands none of them back: OK always means "the default scale in the style in force".
class NewLatticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewLatticeDialog(QWidget* parent = nullptr);

    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QLineEdit* limitEdit() const { return limitEdit_; }
    // Across the row: Velmor, Planetary, Chalmers, Wilson, Fokker.
    const std::array<QRadioButton*, 5>& styleButtons() const { return styleButtons_; }
    // Ratios, Exponents, Lines, Circles.
    const std::array<QCheckBox*, 4>& showBoxes() const { return showBoxes_; }
    QButtonGroup* styleGroup() const { return styleGroup_; }

private:
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QLineEdit* limitEdit_;
    std::array<QRadioButton*, 5> styleButtons_;
    std::array<QCheckBox*, 4> showBoxes_;
    QButtonGroup* styleGroup_;
};

}  // namespace tv
