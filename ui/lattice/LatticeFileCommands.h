#pragma once

#include "ui/lattice/LatticeFileDialogs.h"

#include <QPrinter>
#include <QString>

#include <memory>
#include <string>

namespace tv {

class LatticeWindow;
class MessageService;

// The File menu of a lattice window: a new default lattice, Scala files, the picture as an
// image file, page setup and printing. It keeps the window's file name and path, and what
// the lattice looked like when it was last opened, created or saved, so that changes are
// never thrown away without a question.
class LatticeFileCommands {
public:
    static inline const QString printDocumentName = QStringLiteral("ORLIX");
    static inline const QString untitledName = QStringLiteral("Untitled");

    LatticeFileCommands(LatticeWindow& window, MessageService& messages);
    ~LatticeFileCommands();

    void setDialogs(std::unique_ptr<LatticeFileDialogs> dialogs);

    void newLattice();
    void open();
    // Writes to the current file, asking for one first when there is none. True when the
    // lattice was written.
    bool save();
    // Asks for a file and writes the lattice to it; the window then names that file.
    bool saveAs();
    void saveBitmap();
    void pageSetup();
    void print();

    const QString& fileName() const { return fileName_; }
    const QString& filePath() const { return filePath_; }
    // The file's name as the caption shows it, or "Untitled".
    QString documentName() const { return fileName_.isEmpty() ? untitledName : fileName_; }

    // True when Save would now write something else than the lattice held when it was last
    // opened, created or saved. Names, octaves, the style and the selection are not written,
    // so they are no change.
    bool modified() const;
    // Takes the lattice as it is now as the unchanged state.
    void markUnmodified();
    // Before the lattice goes (the window closes, New, Open): a modified lattice asks "Save
    // changes to X?". True when it may go: unmodified, saved, or the user chose No.
    bool mayDiscard();

private:
    // Writes the lattice to `path`; a file that was read only in part is not written over
    // without the user's word.
    bool write(const QString& path);

    LatticeWindow& window_;
    MessageService& messages_;
    std::unique_ptr<LatticeFileDialogs> dialogs_;
    QPrinter printer_;
    QString fileName_;
    QString filePath_;
    // The file whose reading failed part way; empty when there is none.
    QString incompletePath_;
    // The file text that Save wrote or would have written when the lattice was unchanged.
    std::string unmodifiedText_;
};

}  // namespace tv
