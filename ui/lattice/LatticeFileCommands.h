#pragma once

#include "ui/lattice/LatticeFileDialogs.h"

#include <QPrinter>
#include <QString>

#include <memory>

namespace tv {

class LatticeWindow;
class MessageService;

// The File menu of a lattice window: a new default lattice, Scala files, the picture as an
// image file, page setup and printing. It keeps the window's file name and path.
class LatticeFileCommands {
public:
    static inline const QString printDocumentName = QStringLiteral("ORLIX");

    LatticeFileCommands(LatticeWindow& window, MessageService& messages);
    ~LatticeFileCommands();

    void setDialogs(std::unique_ptr<LatticeFileDialogs> dialogs);

    void newLattice();
    void open();
    // Writes to the current file, asking for one first when there is none.
    void save();
    // Asks for a file and writes the lattice to it.
    void saveAs();
    void saveBitmap();
    void pageSetup();
    void print();

    const QString& fileName() const { return fileName_; }
    const QString& filePath() const { return filePath_; }

private:
    bool write();

    LatticeWindow& window_;
    MessageService& messages_;
    std::unique_ptr<LatticeFileDialogs> dialogs_;
    QPrinter printer_;
    QString fileName_;
    QString filePath_;
};

}  // namespace tv
