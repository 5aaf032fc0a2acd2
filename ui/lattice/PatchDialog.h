#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace tv {

// Chooses the General MIDI program a lattice window plays with. Picking a group narrows the
// program list to that group's programs; picking a program makes it the working choice, which
// OK hands back through patch(). Only picks from the lists count: text typed into their edit
// fields changes nothing.
class PatchDialog : public QDialog {
    Q_OBJECT
public:
    explicit PatchDialog(int patch, QWidget* parent = nullptr);

    // The chosen program after OK; the patch it was opened with otherwise.
    int patch() const;

    QComboBox* groupList() const { return groupList_; }
    QComboBox* programList() const { return programList_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickGroup(int item);
    void pickProgram(int item);
    void fillPrograms(int first, int last);

    const int initialPatch_;
    int workingPatch_;
    int groupFirst_ = 0;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QComboBox* groupList_;
    QComboBox* programList_;
};

}  // namespace tv
