#include "ui/lattice/LatticeEditHistory.h"

#include "ui/lattice/LatticeWindow.h"

#include <QAction>

namespace tv {

LatticeEditHistory::LatticeEditHistory(LatticeWindow& window) : window_(window) {}

LatticeEditHistory::State LatticeEditHistory::capture(bool withDocument) const
{
    State state{window_.lattice(), std::nullopt};
    if (withDocument)
        state.document = window_.files().document();
    return state;
}

void LatticeEditHistory::record(State before)
{
    if (before == capture(before.document.has_value()))
        return;
    history_.record(std::move(before));
    history_.trimOldest(elementBudget,
                        [](const State& state) -> std::size_t { return state.lattice.count(); });
    updateActions();
}

void LatticeEditHistory::clear()
{
    history_.clear();
    updateActions();
}

void LatticeEditHistory::undo()
{
    const State* target = history_.nextUndo();
    if (!target)
        return;
    restore(*history_.undo(capture(target->document.has_value())));
}

void LatticeEditHistory::redo()
{
    const State* target = history_.nextRedo();
    if (!target)
        return;
    restore(*history_.redo(capture(target->document.has_value())));
}

void LatticeEditHistory::restore(State state)
{
    window_.lattice() = std::move(state.lattice);
    if (state.document)
        window_.files().setDocument(*state.document);
    window_.latticeReplaced();
    updateActions();
}

void LatticeEditHistory::updateActions()
{
    window_.menus().action(LatticeCommand::Undo)->setEnabled(canUndo());
    window_.menus().action(LatticeCommand::Redo)->setEnabled(canRedo());
}

}  // namespace tv
