#pragma once

#include "core/lattice/Lattice.h"
#include "ui/common/AppServices.h"
#include "ui/lattice/LatticeEditHistory.h"
#include "ui/lattice/LatticeFileCommands.h"
#include "ui/lattice/LatticeMenus.h"
#include "ui/lattice/LatticePainter.h"
#include "ui/lattice/LatticeTuningFiles.h"
#include "ui/lattice/LatticeView.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QMenu;

namespace tv {

class AppServices;

// A window that shows one lattice and plays its pitches: a press on a label selects it and
// sounds every selected pitch as a chord, one MIDI channel each, while the button is held;
// Shift keeps the selection on release so chords can be built up. A press that never gets
// its release (the window loses the focus or closes, a menu takes the mouse) is silenced all
// the same.
class LatticeWindow : public QMainWindow,
                      private LatticeViewHost,
                      private LatticeFileHost,
                      private LatticeEditTarget,
                      private KeyboardTarget {
    Q_OBJECT
public:
    static inline const QString untitledCaption = QStringLiteral("Untitled - Lattice");
    // The Limit menu's prime items and "Combined".
    static constexpr std::size_t limitCount = LimitFilter::itemCount + 1;
    // The zooms that View > Zoom in / Zoom out and Ctrl+wheel step through, in percent.
    static constexpr std::array<int, 13> zoomSteps{50,  67,  75,  90,  100, 110, 125,
                                                   150, 175, 200, 250, 300, 400};

    LatticeWindow(AppServices& services, QWidget* parent = nullptr);
    ~LatticeWindow() override;

    Lattice& lattice() override { return lattice_; }
    const Lattice& lattice() const override { return lattice_; }
    LatticeView* view() const { return view_; }
    LatticeMenus& menus() const { return *menus_; }
    LatticeFileCommands& files() { return *files_; }
    // The keyboard mapping in use and its files.
    LatticeTuningFiles& tuningFiles() { return *tuningFiles_; }
    LatticeEditHistory& edits() { return *edits_; }
    QMenu* contextMenu() const { return contextMenu_; }

    // Where the labels lie at the window's current size and zoom, in picture coordinates:
    // what a paint draws and what a click hits.
    LatticeGeometry labelGeometry() const override;
    // Paints the whole picture on any surface: a printer page or an image, each laid out for
    // the window's current size and zoom.
    int drawLattice(QPainter& painter) override;
    // Paints the part `area` of it, as the scrolled view shows it.
    int drawArea(QPainter& painter, const QRect& area) override;
    const LatticePainter& painter() const { return painter_; }

    // The zoom in percent: one of zoomSteps, or what Fit to window chose. A new window
    // takes the zoom last chosen in any.
    int zoomPercent() const { return zoomPercent_; }
    // Takes `percent` (within the ends of zoomSteps), keeping the middle of the view where
    // it is.
    void setZoomPercent(int percent);
    // Moves `steps` steps up (positive) or down the zoom steps, stopping at their ends, and
    // keeps the middle of the view where it is.
    void zoomBy(int steps);
    // The largest zoom up to 100 % that shows every label whole without scrolling.
    void fitToWindow();
    // The rectangle that every label shown lies in, at the current zoom, in picture
    // coordinates.
    QRect labelBounds() const;

    // What the pointer resting at `at` reads out: the element's readout, empty where no
    // shown element is.
    QString readoutAt(QPoint at) const override;

    // Lines between neighbours (lattice style) and the circle (planetary style).
    bool showLines() const { return options_.showLines; }
    bool showCircle() const { return options_.showCircle; }
    void setShowLines(bool show);
    void setShowCircle(bool show);
    void setShowRatios(bool show);
    void setShowExponents(bool show);
    // View > Key labels: under each label the MIDI keys that play it.
    bool showKeyLabels() const { return showKeyLabels_; }
    void setShowKeyLabels(bool show);
    // The text under each label while key labels show (by element index).
    const std::vector<std::string>& keyLabels() const { return options_.keyLabels; }
    // What the Limit items' check marks let through.
    LimitFilter limitFilter() const;

    // Mouse actions, in picture coordinates (the view's own, unless it is scrolled).
    void pressLeft(QPoint at) override;
    void releaseLeft(bool shiftHeld) override;
    void pressRight(QPoint at) override;
    // The release of a left press will not come: its notes are silenced, the selection stays.
    void loseMouse() override;
    // "All notes off" on every channel, a note-off for every note the output knows to be
    // sounding, and the chord forgotten.
    void allNotesOff();

    void clickElement(int index);
    void clearSelection();
    void playSelection();

    void runCommand(LatticeCommand command);
    // After the lattice was replaced as a whole (New, Open, undo, redo): the Style menu shows
    // its style and the picture is drawn again.
    void latticeReplaced() override;
    // Closes without storing the placement (Exit, Enter, Escape). Every way of closing asks
    // first whether to save a changed lattice; false when the user kept the window.
    bool closeWithoutPlacement();

    bool showRatios() const { return options_.showRatios; }
    bool showExponents() const { return options_.showExponents; }
    QColor background() const { return options_.background; }
    const std::array<bool, limitCount>& limitFlags() const { return limitFlags_; }
    int patch() const { return patch_; }
    void setPatch(int patch) { patch_ = static_cast<std::uint16_t>(patch); }
    int contextElement() const { return contextElement_; }
    const std::vector<int>& playList() const { return playList_; }
    // The elements lit because a MIDI keyboard sounds them, by index.
    const std::vector<bool>& keyboardLit() const { return options_.lit; }
    // What the MIDI keyboard plays while this window was activated last.
    KeyboardTarget& keyboardTarget() { return *this; }

    // The colour picker behind "Lattice colors" (tests answer it).
    std::function<QColor(QWidget* parent)> chooseColour;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A Scala file dropped on the window opens as with Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What the file commands and the edit history ask of the window.
    QWidget* dialogParent() override { return this; }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void applyNewChoice(const NewLatticeChoice& choice) override;
    QSize pictureSize() const override;
    int pictureDpi() const override;
    const LatticeDocument& document() const override { return files_->document(); }
    void restoreEdit(Lattice lattice, const std::optional<LatticeDocument>& document) override;
    void editHistoryChanged(bool canUndo, bool canRedo) override;

    // A MIDI keyboard plays this window's pitches through its keyboard mapping.
    KeyScale keyScale() const override;
    KeyboardMapping keyboardMapping() const override { return tuningFiles_->mapping(); }
    void keysSounding(const std::vector<int>& keys) override;
    // The keyboard takes the pitches and mapping in use again, if it plays this window.
    void keyboardScaleChanged();
    void updateKeyLabels();

    void repaintAll();
    // Ctrl with the wheel over `anchor`, a point of the view.
    void zoomAt(int steps, QPoint anchor) override;
    void applyZoom(int percent, QPoint anchor);
    void chooseStyle(int style);
    void toggleLimit(std::size_t index);
    void editColours();
    void editElement();
    void choosePatch();
    void openTable();
    // Ends a chord kept sounding by Hold chord, if one is.
    void endHeldChord();

    AppServices& services_;
    Lattice lattice_;
    LatticePainter painter_;
    LatticeDrawOptions options_;
    std::array<bool, limitCount> limitFlags_{true, true, true, true, true, true, true};
    int zoomPercent_ = 100;
    std::uint16_t patch_ = 0;
    int contextElement_ = -1;
    std::vector<int> playList_;
    LatticeView* view_ = nullptr;
    LatticeMenus* menus_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    std::unique_ptr<LatticeFileCommands> files_;
    std::unique_ptr<LatticeTuningFiles> tuningFiles_;
    std::unique_ptr<LatticeEditHistory> edits_;
    bool storePlacementOnClose_ = true;
    // A left press whose release has not come yet.
    bool pressing_ = false;
    // A chord kept by Shift that Edit > Hold chord keeps sounding after its release.
    bool chordHeld_ = false;
    bool showKeyLabels_ = false;
};

}  // namespace tv
