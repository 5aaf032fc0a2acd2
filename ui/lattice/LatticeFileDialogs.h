#pragma once

#include "ui/lattice/NewLatticeDialog.h"

#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace tv {

class MessageService;

// The dialogs behind the lattice window's file and print commands. Tests give the window
// their own answers; the program uses the platform's dialogs.
class LatticeFileDialogs {
public:
    virtual ~LatticeFileDialogs() = default;
    // Where the next file dialog starts: a folder, or a folder and a file name; empty for the
    // platform's own start. The commands set it before each question.
    void suggest(const QString& path) { suggestion_ = path; }
    const QString& suggestion() const { return suggestion_; }
    // A path, or empty when the user cancelled.
    virtual QString openScalaPath() = 0;
    virtual QString saveScalaPath() = 0;
    virtual QString saveImagePath() = 0;
    virtual QString savePdfPath() = 0;
    virtual QString saveSvgPath() = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    virtual void pageSetup(QPrinter& printer) = 0;
    // Asks what a new lattice should hold ("Create a new lattice..."), offering `style` first;
    // nothing when cancelled.
    virtual std::optional<NewLatticeChoice> chooseNewLattice(QWidget* parent, int style,
                                                             MessageService& messages) = 0;

private:
    QString suggestion_;
};

class SystemFileDialogs : public LatticeFileDialogs {
public:
    QString openScalaPath() override;
    QString saveScalaPath() override;
    QString saveImagePath() override;
    QString savePdfPath() override;
    QString saveSvgPath() override;
    bool choosePrinter(QPrinter& printer) override;
    void pageSetup(QPrinter& printer) override;
    std::optional<NewLatticeChoice> chooseNewLattice(QWidget* parent, int style,
                                                     MessageService& messages) override;
};

}  // namespace tv
