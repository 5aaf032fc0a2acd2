#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace tv {

// Every command of a lattice window's menu bar, in menu order.
enum class LatticeCommand {
    New,
    Open,
    Close,
    Save,
    SaveAs,
    SaveBitmap,
    ExportPdf,
    ExportSvg,
    OpenKeyboardMapping,
    SaveKeyboardMapping,
    ExportTuning,
    PageSetup,
    Print,
    RecentFiles,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    Options,
    AllNotesOff,
    HoldChord,
    Limit3,
    Limit5,
    Limit7,
    Limit11,
    Limit13,
    Limit17,
    LimitCombined,
    LimitAll,
    StyleVelmor,
    StylePlanetary,
    ShowRatios,
    ShowExponents,
    ShowLines,
    ShowCircle,
    Patch,
    Colour,
    Table,
    ViewFile,
    KeyLabels,
    ZoomIn,
    ZoomOut,
    ZoomReset,
    FitToWindow,
    Count
};

// Builds the menu bar of a lattice window from one table of items and reports chosen
// commands. Check marks and enabled states are set by the window through `action`; an item
// that opens a submenu (Recent files) reports nothing, its owner fills `submenu`.
class LatticeMenus : public QObject {
    Q_OBJECT
public:
    LatticeMenus(QMenuBar* bar, std::function<void(LatticeCommand)> onCommand);

    QAction* action(LatticeCommand command) const
    {
        return actions_[static_cast<std::size_t>(command)];
    }
    // The submenu an item opens; null for a plain item.
    QMenu* submenu(LatticeCommand command) const;

private:
    std::array<QAction*, static_cast<std::size_t>(LatticeCommand::Count)> actions_{};
};

}  // namespace tv
