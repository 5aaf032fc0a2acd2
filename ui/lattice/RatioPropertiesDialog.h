#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace tv {

class Lattice;
class MessageService;

// Edits the name, pitch and octave of one element of a lattice, or adds a new element when
// opened on index -1. A text in the cents field makes the element a cents-only one; otherwise
// the ratio fields give its pitch. Every entry is checked before anything changes, so a
// refused entry (its message shown through the message service) leaves the lattice as it was.
// exec() gives Accepted only when the lattice was changed; the window then repaints.
class RatioPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    RatioPropertiesDialog(Lattice& lattice, int index, MessageService& messages,
                          QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return nameEdit_; }
    QLineEdit* numeratorEdit() const { return numeratorEdit_; }
    QLineEdit* denominatorEdit() const { return denominatorEdit_; }
    QLineEdit* centsEdit() const { return centsEdit_; }
    QLineEdit* octaveEdit() const { return octaveEdit_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    void applyEntries();
    // Shows `text` and closes the dialog as cancelled.
    void refuse(const QString& text);

    Lattice& lattice_;
    const int index_;
    MessageService& messages_;
    // The name as the element stores it and as the field first showed it: an untouched field
    // keeps the stored bytes even when they are not UTF-8.
    std::string storedName_;
    QString shownName_;
    QLineEdit* nameEdit_;
    QLineEdit* numeratorEdit_;
    QLineEdit* denominatorEdit_;
    QLineEdit* centsEdit_;
    QLineEdit* octaveEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

}  // namespace tv
