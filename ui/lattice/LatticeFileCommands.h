#pragma once

#include "ui/lattice/LatticeDocument.h"
#include "ui/lattice/LatticeFileDialogs.h"

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QIODevice;
class QMenu;
class QPaintDevice;
class QPainter;

namespace tv {

class Lattice;
class LatticeEditHistory;
class MessageService;
class SettingsStore;

// What the file commands need of the window whose lattice they open, save and draw.
class LatticeFileHost {
public:
    virtual ~LatticeFileHost() = default;
    virtual Lattice& lattice() = 0;
    virtual const Lattice& lattice() const = 0;
    // The parent of the dialogs that the commands open.
    virtual QWidget* dialogParent() = 0;
    virtual void setCaption(const QString& caption) = 0;
    // A new lattice was made: the window shows what the choice asks for.
    virtual void applyNewChoice(const NewLatticeChoice& choice) = 0;
    // After the lattice was replaced as a whole: the picture is drawn again.
    virtual void latticeReplaced() = 0;
    // The picture as the window shows it: its size in screen pixels, the screen's dots per
    // inch, and a paint of it on any surface.
    virtual QSize pictureSize() const = 0;
    virtual int pictureDpi() const = 0;
    virtual int drawLattice(QPainter& painter) = 0;
};

// The File menu of a lattice window: a new lattice, Scala files (also dropped on the window or
// taken from the recent files), the picture as an image, PDF or SVG file, page setup and
// printing. It keeps the window's file name and path, and what the lattice looked like when it
// was last opened, created or saved, so that changes are never thrown away without a question.
class LatticeFileCommands {
public:
    static inline const QString printDocumentName = QStringLiteral("ORLIX");
    static inline const QString untitledName = QStringLiteral("Untitled");

    using Document = LatticeDocument;

    // New and Open record their change in `edits`.
    LatticeFileCommands(LatticeFileHost& host, LatticeEditHistory& edits, MessageService& messages,
                        SettingsStore& settings);
    ~LatticeFileCommands();

    void setDialogs(std::unique_ptr<LatticeFileDialogs> dialogs);

    void newLattice();
    void open();
    // Opens `path` as Open does once its dialog is answered, asking first about a changed
    // lattice. A file that cannot be opened leaves the recent files.
    void openFile(const QString& path);
    // Writes to the current file, asking for one first when there is none. True when the
    // lattice was written.
    bool save();
    // Asks for a file and writes the lattice to it; the window then names that file.
    bool saveAs();
    void saveBitmap();
    void exportPdf();
    void exportSvg();
    void pageSetup();
    void print();

    // Lists the recent files in `menu`, each opening its file.
    void fillRecentMenu(QMenu* menu);

    const QString& fileName() const { return document_.fileName; }
    const QString& filePath() const { return document_.filePath; }
    // The file's name as the caption shows it, or "Untitled".
    QString documentName() const
    {
        return document_.fileName.isEmpty() ? untitledName : document_.fileName;
    }
    const Document& document() const { return document_; }
    // Names `document` in the window's caption and fields (an undone New).
    void setDocument(const Document& document);

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
    // Asks `question` of the dialogs, starting at a place fit for a file of type `suffix`.
    QString ask(QString (LatticeFileDialogs::*question)(), const QString& suffix);
    // Reads `path` into the window; the question about a changed lattice was asked before.
    void load(const QString& path);
    // Writes the lattice to `path`; a file that was read only in part is not written over
    // without the user's word.
    bool write(const QString& path);
    // Paints the picture at the window's size on a device whose unit is one screen pixel.
    void paintPicture(QPaintDevice& device);
    // Asks `write` to fill the file at `path` (nothing when empty: the dialog was cancelled)
    // and says so when it cannot be written.
    void writePicture(const QString& path, const std::function<bool(QIODevice&)>& write);

    LatticeFileHost& host_;
    LatticeEditHistory& edits_;
    MessageService& messages_;
    SettingsStore& settings_;
    std::unique_ptr<LatticeFileDialogs> dialogs_;
    QPrinter printer_;
    Document document_;
};

}  // namespace tv
