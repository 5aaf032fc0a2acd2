#include "ui/lattice/LatticeMenus.h"

#include "ui/common/MenuBarBuilder.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tv {
namespace {

enum class ItemState { Enabled, Greyed, Checked, Unchecked, Submenu };

struct MenuItem {
    const char* menu;
    const char* caption;  // nullptr: a separator
    LatticeCommand command;
    ItemState state;
    QKeySequence::StandardKey shortcut;
    // A shortcut of no standard meaning, where `shortcut` is none.
    QKeyCombination keys = QKeyCombination(Qt::Key_unknown);
};

constexpr auto none = QKeySequence::UnknownKey;
using C = LatticeCommand;
using S = ItemState;

constexpr MenuItem menuItems[] = {
    {"&File", "&New...", C::New, S::Enabled, QKeySequence::New},
    {"&File", "&Open...", C::Open, S::Enabled, QKeySequence::Open},
    {"&File", "&Close", C::Close, S::Enabled, QKeySequence::Close},
    {"&File", nullptr, C::Count, S::Enabled, none},
    {"&File", "&Save", C::Save, S::Enabled, QKeySequence::Save},
    {"&File", "Save &As...", C::SaveAs, S::Enabled, QKeySequence::SaveAs},
    {"&File", "Save &Bitmap...", C::SaveBitmap, S::Enabled, none},
    {"&File", "Export P&DF...", C::ExportPdf, S::Enabled, none},
    {"&File", "Export S&VG...", C::ExportSvg, S::Enabled, none},
    {"&File", nullptr, C::Count, S::Enabled, none},
    {"&File", "Open &Keyboard Mapping...", C::OpenKeyboardMapping, S::Enabled, none},
    {"&File", "Save Keyboard &Mapping...", C::SaveKeyboardMapping, S::Enabled, none},
    {"&File", "Export &Tuning", C::ExportTuning, S::Enabled, none},
    {"&File", nullptr, C::Count, S::Enabled, none},
    {"&File", "Page Set&up...", C::PageSetup, S::Enabled, none},
    {"&File", "&Print...", C::Print, S::Enabled, QKeySequence::Print},
    {"&File", nullptr, C::Count, S::Enabled, none},
    {"&File", "&Recent files", C::RecentFiles, S::Submenu, none},
    {"&File", nullptr, C::Count, S::Enabled, none},
    {"&File", "E&xit", C::Exit, S::Enabled, none},
    // Greyed until there is something to undo or redo.
    {"&Edit", "&Undo", C::Undo, S::Greyed, none, Qt::CTRL | Qt::Key_Z},
    {"&Edit", "&Redo", C::Redo, S::Greyed, none, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
    {"&Edit", nullptr, C::Count, S::Enabled, none},
    {"&Edit", "Cu&t", C::Cut, S::Greyed, none},
    {"&Edit", "&Copy", C::Copy, S::Greyed, none},
    {"&Edit", "&Paste", C::Paste, S::Greyed, none},
    {"&Edit", "&Delete", C::Delete, S::Greyed, none},
    {"&Edit", nullptr, C::Count, S::Enabled, none},
    {"&Edit", "&Options...", C::Options, S::Enabled, none},
    {"&Edit", nullptr, C::Count, S::Enabled, none},
    {"&Edit", "All notes o&ff", C::AllNotesOff, S::Enabled, none, Qt::CTRL | Qt::Key_Period},
    {"&Edit", "&Hold chord", C::HoldChord, S::Unchecked, none, Qt::CTRL | Qt::Key_H},
    {"&Limit", "&3 limit", C::Limit3, S::Checked, none},
    {"&Limit", "&5 limit", C::Limit5, S::Checked, none},
    {"&Limit", "&7 limit", C::Limit7, S::Checked, none},
    {"&Limit", "&11 limit", C::Limit11, S::Checked, none},
    {"&Limit", "13 &limit", C::Limit13, S::Checked, none},
    {"&Limit", "17+ l&imit", C::Limit17, S::Checked, none},
    {"&Limit", "&Combined", C::LimitCombined, S::Checked, none},
    {"&Limit", nullptr, C::Count, S::Enabled, none},
    {"&Limit", "&All", C::LimitAll, S::Enabled, none},
    {"&Style", "&Velmor lattice", C::StyleVelmor, S::Checked, none},
    {"&Style", "&Planetary graph", C::StylePlanetary, S::Unchecked, none},
    {"&Style", nullptr, C::Count, S::Enabled, none},
    {"&Style", "Show &ratios/cents", C::ShowRatios, S::Checked, none},
    {"&Style", "Show &exponents", C::ShowExponents, S::Checked, none},
    {"&Style", "Show &lines", C::ShowLines, S::Unchecked, none},
    {"&Style", "Show c&ircle", C::ShowCircle, S::Unchecked, none},
    {"&Style", nullptr, C::Count, S::Enabled, none},
    {"&Style", "P&atch...", C::Patch, S::Enabled, none},
    {"&Style", "&Color...", C::Colour, S::Enabled, none},
    {"&View", "&Table", C::Table, S::Enabled, none},
    {"&View", "&File", C::ViewFile, S::Enabled, none},
    {"&View", "&Key labels", C::KeyLabels, S::Unchecked, none},
    {"&View", nullptr, C::Count, S::Enabled, none},
    {"&View", "Zoom &in", C::ZoomIn, S::Enabled, none, Qt::CTRL | Qt::Key_Plus},
    {"&View", "Zoom &out", C::ZoomOut, S::Enabled, none, Qt::CTRL | Qt::Key_Minus},
    {"&View", "&Actual size", C::ZoomReset, S::Enabled, none, Qt::CTRL | Qt::Key_0},
    {"&View", "Fit to &window", C::FitToWindow, S::Enabled, none, Qt::CTRL | Qt::Key_9},
};

}  // namespace

LatticeMenus::LatticeMenus(QMenuBar* bar, std::function<void(LatticeCommand)> onCommand)
    : QObject(bar)
{
    MenuBarBuilder menus(bar);
    for (const MenuItem& item : menuItems) {
        QMenu* menu = menus.menu(item.menu);
        if (!item.caption) {
            menu->addSeparator();
            continue;
        }
        if (item.state == S::Submenu) {
            QMenu* submenu = menu->addMenu(QString::fromLatin1(item.caption));
            actions_[static_cast<std::size_t>(item.command)] = submenu->menuAction();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(item.caption));
        action->setEnabled(item.state != S::Greyed);
        action->setCheckable(item.state == S::Checked || item.state == S::Unchecked);
        action->setChecked(item.state == S::Checked);
        if (item.shortcut != none)
            action->setShortcut(QKeySequence(item.shortcut));
        else if (item.keys.key() != Qt::Key_unknown)
            action->setShortcut(QKeySequence(item.keys));
        const LatticeCommand command = item.command;
        connect(action, &QAction::triggered, this, [onCommand, command] { onCommand(command); });
        actions_[static_cast<std::size_t>(command)] = action;
    }
    // Ctrl+"=" zooms in too: it is the "+" key without Shift on many keyboards.
    QAction* zoomIn = action(LatticeCommand::ZoomIn);
    zoomIn->setShortcuts({zoomIn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
}

QMenu* LatticeMenus::submenu(LatticeCommand command) const
{
    const QAction* item = action(command);
    return item ? item->menu() : nullptr;
}

}  // namespace tv
