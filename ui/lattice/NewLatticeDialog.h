#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tv {

class MessageService;

// What a new lattice is built from.
struct NewLatticeChoice {
    // The odd limit of the tonality diamond to build; 0 for the default scale.
    std::uint32_t limit = 0;
    // 0 (the lattice) or 1 (the circle): the styles that have a layout.
    int style = 0;
    // Whether the window shows ratios, exponents, lines between neighbours and the pitch
    // circle.
    bool ratios = true;
    bool exponents = false;
    bool lines = false;
    bool circles = false;
};

// Asks what a new lattice should hold: an empty limit field gives the default scale, a limit
// N the N-odd-limit diamond, laid out in the chosen style. A limit out of range is refused with
// a message and the dialog stays open. Only the styles that have a layout can be chosen.
class NewLatticeDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString limitRangeMessage =
        QStringLiteral("Limit must be between 1 and 45");

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

    // Opens with the button of `style` checked (Velmor for a style without a layout).
    explicit NewLatticeDialog(MessageService& messages, int style = 0, QWidget* parent = nullptr);

    // After OK: what to build.
    NewLatticeChoice choice() const { return choice_; }
    // The limit the field holds: 0 when empty, nothing when it is out of range.
    std::optional<std::uint32_t> enteredLimit() const;

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
    void acceptIfValid();

    MessageService& messages_;
    NewLatticeChoice choice_;
    Controls controls_;
    std::array<QRadioButton*, 5> styleButtons_;
    std::array<QCheckBox*, 4> showBoxes_;
    QButtonGroup* styleGroup_;
};

}  // namespace tv
