#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace tv {

// The dialogs behind the lattice window's file and print commands. Tests give the window
// their own answers; the program uses the platform's dialogs.
class LatticeFileDialogs {
public:
    virtual ~LatticeFileDialogs() = default;
    // A path, or empty when the user cancelled.
    virtual QString openScalaPath() = 0;
    virtual QString saveScalaPath() = 0;
    virtual QString saveImagePath() = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    virtual void pageSetup(QPrinter& printer) = 0;
    // Asks whether to replace the default scale's elements ("Create a new lattice...").
    virtual bool confirmNewLattice(QWidget* parent) = 0;
    // The new lattice dialog's Lines and Circles boxes when it last closed with OK.
    struct NewLatticeShow {
        bool lines = false;
        bool circles = false;
    };
    virtual NewLatticeShow newLatticeShow() const { return {}; }
};

class SystemFileDialogs : public LatticeFileDialogs {
public:
    QString openScalaPath() override;
    QString saveScalaPath() override;
    QString saveImagePath() override;
    bool choosePrinter(QPrinter& printer) override;
    void pageSetup(QPrinter& printer) override;
    bool confirmNewLattice(QWidget* parent) override;
    NewLatticeShow newLatticeShow() const override { return newLatticeShow_; }

private:
    NewLatticeShow newLatticeShow_;
};

}  // namespace tv
