#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tv {

class Lattice;
class MessageService;

// Edits the name, pitch and octave of one element of a lattice, or adds a new element when
// opened on index -1. A text in the cents field makes the element a cents-only one; otherwise
// the ratio fields give its pitch. Every entry is checked before anything changes, so a
// refused entry (its message shown through the message service) leaves the lattice as it was
// and the dialog open, with what was typed and the field to mend selected. exec() gives
// Accepted only when the lattice was changed; the window then repaints.
class RatioPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QLabel* nameLabel = nullptr;
        QLineEdit* nameEdit = nullptr;
        QLabel* ratioLabel = nullptr;
        QLineEdit* numeratorEdit = nullptr;
        QLabel* slashLabel = nullptr;
        QLineEdit* denominatorEdit = nullptr;
        QLabel* centsLabel = nullptr;
        QLineEdit* centsEdit = nullptr;
        QLabel* octaveLabel = nullptr;
        QLineEdit* octaveEdit = nullptr;
        QLabel* octaveHint = nullptr;
        QPushButton* okButton = nullptr;
        QPushButton* cancelButton = nullptr;
    };

    RatioPropertiesDialog(Lattice& lattice, int index, MessageService& messages,
                          QWidget* parent = nullptr);

    const Controls& controls() const { return controls_; }
    QLineEdit* nameEdit() const { return controls_.nameEdit; }
    QLineEdit* numeratorEdit() const { return controls_.numeratorEdit; }
    QLineEdit* denominatorEdit() const { return controls_.denominatorEdit; }
    QLineEdit* centsEdit() const { return controls_.centsEdit; }
    QLineEdit* octaveEdit() const { return controls_.octaveEdit; }
    QPushButton* okButton() const { return controls_.okButton; }
    QPushButton* cancelButton() const { return controls_.cancelButton; }

private:
    void applyEntries();
    // Shows `text`, then selects the whole of `field` for mending; with no field, closes the
    // dialog as cancelled.
    void refuse(const QString& text, QLineEdit* field);

    Lattice& lattice_;
    const int index_;
    MessageService& messages_;
    // The name as the element stores it and as the field first showed it: an untouched field
    // keeps the stored bytes even when they are not UTF-8.
    std::string storedName_;
    QString shownName_;
    Controls controls_;
};

}  // namespace tv
