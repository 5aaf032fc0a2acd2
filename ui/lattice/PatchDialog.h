#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace tv {

// Chooses the General MIDI program a lattice window plays with. Picking a group narrows the
// program list to that group's programs; picking a program makes it the working choice, which
// OK hands back through patch(). Only picks from the lists count: text typed into their edit
// fields changes nothing.
class PatchDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QPushButton* okButton = nullptr;
        QPushButton* cancelButton = nullptr;
        QComboBox* groupList = nullptr;
        QLabel* groupLabel = nullptr;
        QComboBox* programList = nullptr;
        QLabel* programLabel = nullptr;
    };

    explicit PatchDialog(int patch, QWidget* parent = nullptr);

    // The chosen program after OK; the patch it was opened with otherwise.
    int patch() const;

    const Controls& controls() const { return controls_; }
    QComboBox* groupList() const { return controls_.groupList; }
    QComboBox* programList() const { return controls_.programList; }
    QPushButton* okButton() const { return controls_.okButton; }
    QPushButton* cancelButton() const { return controls_.cancelButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickGroup(int item);
    void pickProgram(int item);
    void fillPrograms(int first, int last);

    const int initialPatch_;
    int workingPatch_;
    int groupFirst_ = 0;
    Controls controls_;
};

}  // namespace tv
