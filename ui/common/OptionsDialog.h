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

// Where the sound goes and how notes are bent: the MIDI output (every output the system offers
// when the dialog opens, the one in use selected) and the pitch bend range with the choice to
// send it to the synthesizer. Each choice takes effect at once; Close only closes.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QLabel* outputLabel = nullptr;
        QComboBox* outputList = nullptr;
        QLabel* rangeLabel = nullptr;
        QComboBox* rangeList = nullptr;
        QCheckBox* sendRangeBox = nullptr;
        QPushButton* closeButton = nullptr;
    };

    explicit OptionsDialog(AppServices& services, QWidget* parent = nullptr);

    const Controls& controls() const { return controls_; }

private:
    void chooseOutput(int item);
    void chooseRange();

    AppServices& services_;
    std::vector<std::string> outputs_;
    Controls controls_;
};

}  // namespace tv
