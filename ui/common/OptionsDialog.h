#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tv {

class AppServices;

// Where the sound goes and how notes are tuned: the MIDI output (every output the system offers
// when the dialog opens, the one in use selected), the MIDI input a keyboard plays through, the
// tuning method, and the pitch bend range with the step in cents it gives and the choice to send it
// to the synthesizer. Each choice takes effect at once; Close only closes.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QLabel* outputLabel = nullptr;
        QComboBox* outputList = nullptr;
        QLabel* inputLabel = nullptr;
        QComboBox* inputList = nullptr;
        QLabel* tuningLabel = nullptr;
        QComboBox* tuningList = nullptr;
        QLabel* rangeLabel = nullptr;
        QComboBox* rangeList = nullptr;
        QLabel* stepLabel = nullptr;
        QCheckBox* sendRangeBox = nullptr;
        QPushButton* closeButton = nullptr;
    };

    explicit OptionsDialog(AppServices& services, QWidget* parent = nullptr);

    const Controls& controls() const { return controls_; }

private:
    void chooseOutput(int item);
    void chooseInput(int item);
    void fillInputs();
    void chooseTuning(int item);
    void chooseRange();
    // The range list for the method in use, what is enabled, and the step the range gives.
    void updateControls();

    AppServices& services_;
    std::vector<std::string> outputs_;
    std::vector<std::string> inputs_;  // "" for None, first
    Controls controls_;
};

}  // namespace tv
